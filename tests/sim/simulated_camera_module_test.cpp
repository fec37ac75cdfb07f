// The simulated module decodes every writeRegister call from the control-port writes alone, and
// serves its frames through the INIT/STROBE handshake.
#include "sim/simulated_camera_module.h"

#include <gtest/gtest.h>

#include <utility>

#include "port/init_parallel_port.h"
#include "port/parallel_port.h"
#include "port/write_register.h"
#include "sim/frame_renderer.h"
#include "support/port_fakes.h"

namespace orvane {
namespace {

struct SimBench {
    // The reference frames: these tests pin bytes of the wire and the handshake.
    explicit SimBench(Scene scene = builtinScene()) : module(std::move(scene), referenceModel) {}
    SimulatedCameraModule module;
    CountingTraceSink trace;
    testing::SteppingTickCounter ticks;
    ControlBus bus{module, trace, ticks};
};

TEST(SimulatedCameraModule, DecodesEverySubAddressAndValueAsOneTransaction) {
    SimBench sim;
    initParallelPort(sim.module);
    std::size_t expected = 0;
    for (unsigned sub = 0; sub < 256; ++sub) {
        for (unsigned value = 0; value < 256; ++value) {
            writeRegister(sim.bus, static_cast<uint8_t>(sub), static_cast<uint8_t>(value),
                          uploadSecondWritePacing);
            ++expected;
            const auto& done = sim.module.bus().transactions();
            ASSERT_EQ(done.size(), expected);
            ASSERT_EQ(done.back(), (DecodedTransaction{0x42, static_cast<uint8_t>(sub),
                                                       static_cast<uint8_t>(value)}));
            const bool softReset = sub == softResetRegister && (value & softResetBit) != 0;
            if (!softReset) {
                ASSERT_EQ(sim.module.sensor()[static_cast<uint8_t>(sub)], value);
            }
        }
    }
    EXPECT_TRUE(sim.module.bus().violations().empty());
    EXPECT_TRUE(sim.module.unexpectedAccesses().empty());
    EXPECT_EQ(sim.module.controlRegister(), 0x20);
}

TEST(SimulatedCameraModule, SoftResetRestoresPowerOnValues) {
    SimBench sim;
    const SensorRegisterFile powerOn;
    writeRegister(sim.bus, 0x05, 0x11, applySettingsPacing);
    writeRegister(sim.bus, 0x17, 0x38, applySettingsPacing);
    EXPECT_EQ(sim.module.sensor()[0x05], 0x11);
    writeRegister(sim.bus, 0x12, 0x80, cameraResetPacing);
    EXPECT_EQ(sim.module.sensor().registers(), powerOn.registers());
    EXPECT_EQ(sim.module.sensor()[0x12], 0x24);
}

TEST(SimulatedCameraModule, FrameHandshakeValuesDoNotDisturbTheBus) {
    SimBench sim;
    initParallelPort(sim.module);
    for (const uint8_t value : {0x25, 0x21, 0x20, 0x21, 0x20, 0x21})
        sim.module.writePort(ParallelPort::controlPort, value);
    (void)sim.module.readPort(ParallelPort::dataPort);
    writeRegister(sim.bus, 0x13, 0x25, uploadFirstWritePacing);
    ASSERT_EQ(sim.module.bus().transactions().size(), 1u);
    EXPECT_EQ(sim.module.sensor()[0x13], 0x25);
    EXPECT_TRUE(sim.module.bus().violations().empty());
}

TEST(SimulatedCameraModule, RecordsAccessesTheWiringNeverExpects) {
    SimulatedCameraModule module;
    module.writePort(ParallelPort::dataPort, 0x55);
    (void)module.readPort(ParallelPort::statusPort);
    (void)module.readPort(ParallelPort::controlPort);
    module.writePort(ParallelPort::ecrPort, 0x20);
    const std::vector<UnexpectedAccess> expected = {
        {true, 0x378, 0x55}, {false, 0x379, 0}, {false, 0x37A, 0}};
    EXPECT_EQ(module.unexpectedAccesses(), expected);
    EXPECT_EQ(module.extendedControlRegister(), 0x20);
}

// The panel's frame handshake, written out by hand: INIT pulse with STROBE low, then per byte a
// data read followed by a STROBE pulse.
void startFrame(PortIo& port) {
    port.writePort(ParallelPort::controlPort, 0x25);
    port.writePort(ParallelPort::controlPort, 0x21);
}

std::vector<uint8_t> readBytes(PortIo& port, std::size_t count) {
    std::vector<uint8_t> bytes;
    bytes.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        bytes.push_back(port.readPort(ParallelPort::dataPort));
        port.writePort(ParallelPort::controlPort, 0x20);
        port.writePort(ParallelPort::controlPort, 0x21);
    }
    return bytes;
}

void setRegisters(SimBench& sim, std::initializer_list<std::pair<uint8_t, uint8_t>> writes) {
    for (const auto& [sub, value] : writes)
        writeRegister(sim.bus, sub, value, applySettingsPacing);
}

// The frame the module's registers describe, rendered apart from the module.
std::vector<uint8_t> expectedFrame(const SimulatedCameraModule& module) {
    std::vector<uint8_t> frame;
    renderFrame(module.scene(), module.sensor(), frame);
    return frame;
}

std::vector<uint8_t> served(const SimulatedCameraModule& module) {
    return {module.servedFrame().begin(), module.servedFrame().end()};
}

TEST(SimulatedCameraModuleFrame, HandshakeReadsACifYuvFrameByteForByteThenZeros) {
    SimBench sim;
    initParallelPort(sim.module);
    setRegisters(sim, {{0x12, 0x24}, {0x17, 56}, {0x18, 214}, {0x19, 5}, {0x1A, 212}});
    startFrame(sim.module);
    const std::vector<uint8_t> bytes = readBytes(sim.module, 208 * 626);

    const std::vector<uint8_t> expected = expectedFrame(sim.module);
    ASSERT_EQ(expected.size(), 208u * 626u);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(served(sim.module), expected);
    EXPECT_EQ(sim.module.frameLayout(),
              (SensorFrameLayout{FrameFormat::Yuv422, false, 312, 208, 626}));
    EXPECT_EQ(sim.module.framePosition(), 208u * 626u);
    EXPECT_EQ(readBytes(sim.module, 3), (std::vector<uint8_t>{0x00, 0x00, 0x00}));
    EXPECT_EQ(sim.module.framesStarted(), 1u);
    EXPECT_TRUE(sim.module.bus().violations().empty());
    EXPECT_TRUE(sim.module.unexpectedAccesses().empty());
}

TEST(SimulatedCameraModuleFrame, HandshakeReadsAnRgbMosaicFrame) {
    SimBench sim;
    initParallelPort(sim.module);
    setRegisters(sim, {{0x12, 0x2C}, {0x17, 86}, {0x18, 192}, {0x19, 25}, {0x1A, 180}});
    startFrame(sim.module);
    const std::vector<uint8_t> bytes = readBytes(sim.module, 312 * 419);
    EXPECT_EQ(sim.module.frameLayout(),
              (SensorFrameLayout{FrameFormat::RgbMosaic, false, 416, 312, 419}));
    EXPECT_EQ(bytes, expectedFrame(sim.module));
}

TEST(SimulatedCameraModuleFrame, SecondInitRestartsAtTheFirstByte) {
    SimBench sim(Scene(2, 1, {{250, 10, 10}, {10, 10, 250}}));
    initParallelPort(sim.module);
    setRegisters(sim, {{0x17, 0}, {0x18, 6}, {0x19, 0}, {0x1A, 2}}); // 8 x 3, 18 bytes per line
    startFrame(sim.module);
    const std::vector<uint8_t> first = readBytes(sim.module, 25);
    startFrame(sim.module);
    EXPECT_EQ(sim.module.framePosition(), 0u);
    const std::vector<uint8_t> again = readBytes(sim.module, 54);
    EXPECT_EQ(again, expectedFrame(sim.module));
    EXPECT_TRUE(std::equal(first.begin(), first.end(), again.begin()));
    EXPECT_EQ(sim.module.framesStarted(), 2u);
}

TEST(SimulatedCameraModuleFrame, FrameIsRenderedFromTheRegistersAtTheInitPulse) {
    SimBench sim(Scene(1, 1, {{100, 100, 100}}));
    initParallelPort(sim.module);
    // 6 bytes; contrast 0 leaves luma as it is.
    setRegisters(sim, {{0x17, 0}, {0x18, 3}, {0x19, 0}, {0x1A, 0}, {0x05, 0x00}, {0x06, 0x80}});
    startFrame(sim.module);
    EXPECT_EQ(served(sim.module), (std::vector<uint8_t>{128, 100, 128, 100, 0, 0}));
    setRegisters(sim, {{0x06, 0xC0}});
    EXPECT_EQ(served(sim.module), (std::vector<uint8_t>{128, 100, 128, 100, 0, 0}));
    startFrame(sim.module);
    EXPECT_EQ(readBytes(sim.module, 6), (std::vector<uint8_t>{128, 132, 128, 132, 0, 0}));
}

TEST(SimulatedCameraModuleFrame, DataLinesFloatWhileThePcDrivesThemOrNoFrameWasStarted) {
    SimBench sim(Scene(1, 1, {{0, 0, 0}}));
    initParallelPort(sim.module);
    EXPECT_EQ(sim.module.readPort(ParallelPort::dataPort), 0xFF); // no frame yet
    setRegisters(sim, {{0x17, 0}, {0x18, 3}, {0x19, 0}, {0x1A, 0}});
    startFrame(sim.module);
    EXPECT_EQ(readBytes(sim.module, 1), (std::vector<uint8_t>{128})); // V of black
    sim.module.writePort(ParallelPort::controlPort, 0x01);            // data lines driven by the PC
    EXPECT_EQ(sim.module.readPort(ParallelPort::dataPort), 0xFF);
    sim.module.writePort(ParallelPort::controlPort, 0x21);     // inputs again, STROBE never rose
    EXPECT_EQ(sim.module.readPort(ParallelPort::dataPort), 0); // Y of black, still byte 1
    EXPECT_EQ(sim.module.framePosition(), 1u);
}

TEST(SimulatedCameraModuleFrame, StrobePulsesWhileInitIsHighHoldTheFirstByte) {
    SimBench sim(Scene(2, 1, {{255, 255, 255}, {0, 0, 0}}));
    initParallelPort(sim.module);
    setRegisters(sim, {{0x17, 0}, {0x18, 3}, {0x19, 0}, {0x1A, 0}});
    sim.module.writePort(ParallelPort::controlPort, 0x25);
    for (int k = 0; k < 3; ++k) {
        sim.module.writePort(ParallelPort::controlPort, 0x24); // STROBE high, INIT still high
        sim.module.writePort(ParallelPort::controlPort, 0x25);
    }
    EXPECT_EQ(sim.module.framePosition(), 0u);
    sim.module.writePort(ParallelPort::controlPort, 0x21);
    EXPECT_EQ(readBytes(sim.module, 6), expectedFrame(sim.module));
}

TEST(SimulatedCameraModuleFrame, EmptyWindowServesOnlyTheEndOfFrameByte) {
    SimBench sim;
    initParallelPort(sim.module);
    setRegisters(sim, {{0x17, 100}, {0x18, 102}, {0x19, 5}, {0x1A, 200}});
    startFrame(sim.module);
    EXPECT_TRUE(sim.module.frameLayout().empty());
    EXPECT_TRUE(sim.module.servedFrame().empty());
    EXPECT_EQ(readBytes(sim.module, 4), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(sim.module.framePosition(), 0u);
}

TEST(SimulatedCameraModuleFrame, DefaultModuleShowsTheBuiltinScene) {
    const SimulatedCameraModule module;
    const Scene builtin = builtinScene();
    EXPECT_EQ(module.scene().width(), builtin.width());
    EXPECT_EQ(module.scene().pixels(), builtin.pixels());
    EXPECT_EQ(module.framesStarted(), 0u);
}

} // namespace
} // namespace orvane
