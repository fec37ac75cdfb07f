// SimulatedCameraModule: a PortIo that stands in for the camera module on the parallel port.
// It turns every control-register write into connector line levels, decodes the two-wire bus
// from them and applies the sensor's write transactions to its register file. The sensor makes
// frames continuously on a clock of simulated time (sim/sensor_clock.h), and after each one its
// automatic loops may adjust its registers. On the frame side, an INIT pulse renders the last
// frame the sensor completed, from the scene and light of that frame and the registers of that
// moment, and presents its first byte on the data lines; each rising STROBE edge presents the
// next byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "port/control_lines.h"
#include "port/port_io.h"
#include "sim/automatic_loops.h"
#include "sim/bus_decoder.h"
#include "sim/frame_layout.h"
#include "sim/scene.h"
#include "sim/scene_sequence.h"
#include "sim/sensor_clock.h"
#include "sim/sensor_model.h"
#include "sim/sensor_pipeline.h"
#include "sim/sensor_register_file.h"

namespace orvane {

// A port access the camera module's wiring never expects.
struct UnexpectedAccess {
    bool write;
    uint16_t port;
    uint8_t value;
    friend bool operator==(const UnexpectedAccess&, const UnexpectedAccess&) = default;
};

// What the data lines read when nothing drives them: the PC drives them itself (direction bit
// clear) or no frame has been started yet.
constexpr uint8_t floatingDataLines = 0xFF;
// What the module drives once the last byte of a frame has been clocked out: a frame read past
// its end reads zeros, which sets it apart from an absent module.
constexpr uint8_t pastFrameEndByte = 0x00;
// What the data lines read from a module without power.
constexpr uint8_t unpoweredDataLines = 0x00;

class SimulatedCameraModule final : public PortIo {
public:
    // Shows the built-in scene; the realistic model unless told otherwise.
    explicit SimulatedCameraModule(const SensorModelSettings& model = {});
    explicit SimulatedCameraModule(Scene scene, const SensorModelSettings& model = {});
    explicit SimulatedCameraModule(std::unique_ptr<SceneSequence> scenes,
                                   const SensorModelSettings& model = {});

    void writePort(uint16_t port, uint8_t value) override;
    uint8_t readPort(uint16_t port) override;

    const BusDecoder& bus() const { return bus_; }
    const SensorRegisterFile& sensor() const { return sensor_; }
    uint8_t controlRegister() const { return control_; }
    uint8_t extendedControlRegister() const { return ecr_; }
    const std::vector<UnexpectedAccess>& unexpectedAccesses() const { return unexpected_; }

    // The scene of the frame rendered last (of the first sensor frame before any).
    const Scene& scene() const { return *scene_; }
    const SensorClock& clock() const { return clock_; }
    // The number of the sensor frame the last INIT pulse served, counting from 0 at power-on.
    uint64_t sensorFrameServed() const { return frameServed_; }
    bool reference() const { return model_.reference; }
    const SensorModelSettings& model() const { return model_; }
    // The layout and bytes of the frame the last INIT pulse started (empty before the first).
    const SensorFrameLayout& frameLayout() const { return layout_; }
    std::span<const uint8_t> servedFrame() const { return frame_; }
    // Index of the byte on the data lines; frame size once the whole frame has been clocked out.
    std::size_t framePosition() const { return position_; }
    uint32_t framesStarted() const { return framesStarted_; }

private:
    void noteUnexpected(bool write, uint16_t port, uint8_t value);
    void followFrameLines(const ControlLines& lines);
    void hostWrite(uint8_t subAddress, uint8_t value);
    uint8_t dataLines() const;
    void runLoops(uint64_t end);

    BusDecoder bus_;
    SensorRegisterFile sensor_;
    uint8_t control_ = 0x00; // every line idle: clock and data high, STROBE high, INIT low
    uint8_t ecr_ = 0x00;
    uint8_t dataWritten_ = 0x00; // the last write to the data register
    std::vector<UnexpectedAccess> unexpected_;

    SensorModelSettings model_;
    std::unique_ptr<SceneSequence> scenes_;
    const Scene* scene_;
    SensorClock clock_;
    uint64_t framesRun_ = 0; // sensor frames the loops have seen
    uint64_t frameServed_ = 0;
    SensorPipeline pipeline_;
    AutomaticLoops loops_;
    SensorFrameLayout layout_;
    std::vector<uint8_t> frame_;
    std::size_t position_ = 0;
    uint32_t framesStarted_ = 0;
    ControlLines lines_ = controlLinesFor(0x00); // the levels the last control write left
};

} // namespace orvane
