// The simulated module decodes every writeRegister call from the control-port writes alone.
#include "sim/simulated_camera_module.h"

#include <gtest/gtest.h>

#include "port/init_parallel_port.h"
#include "port/parallel_port.h"
#include "port/write_register.h"
#include "support/port_fakes.h"

namespace orvane {
namespace {

struct SimBench {
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

} // namespace
} // namespace orvane
