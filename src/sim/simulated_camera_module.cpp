// The simulated camera module's port side.
#include "sim/simulated_camera_module.h"

#include <utility>

#include "port/parallel_port.h"
#include "sim/frame_renderer.h"
#include "sim/sensor_stages.h"

namespace orvane {
namespace {

// Keeps the log of a runaway caller from growing without bound.
constexpr std::size_t maxUnexpectedLogged = 1024;

} // namespace

SimulatedCameraModule::SimulatedCameraModule(bool reference)
    : SimulatedCameraModule(builtinScene(), reference) {}

SimulatedCameraModule::SimulatedCameraModule(Scene scene, bool reference)
    : SimulatedCameraModule(stillScene(std::move(scene)), reference) {}

SimulatedCameraModule::SimulatedCameraModule(std::unique_ptr<SceneSequence> scenes, bool reference)
    : reference_(reference), scenes_(std::move(scenes)), scene_(&scenes_->at(0)) {
    // The largest frame is rendered into this buffer without growing it again.
    frame_.reserve(maxSimulatedFrameBytes);
}

void SimulatedCameraModule::writePort(uint16_t port, uint8_t value) {
    clock_.tick();
    switch (port) {
    case ParallelPort::controlPort: {
        control_ = value;
        const ControlLines lines = controlLinesFor(value);
        if (const auto transaction = bus_.step(lines.clock, lines.data))
            sensor_.write(transaction->subAddress, transaction->value);
        followFrameLines(lines);
        return;
    }
    case ParallelPort::ecrPort:
        ecr_ = value;
        return;
    default:
        noteUnexpected(true, port, value);
        return;
    }
}

uint8_t SimulatedCameraModule::readPort(uint16_t port) {
    clock_.tick();
    if (port != ParallelPort::dataPort) {
        noteUnexpected(false, port, 0);
        return floatingDataLines;
    }
    if (!lines_.dataPortInput || framesStarted_ == 0)
        return floatingDataLines;
    return position_ < frame_.size() ? frame_[position_] : pastFrameEndByte;
}

// INIT rising starts a frame: the last one the sensor completed is rendered whole, from the
// registers of this moment, and its first byte goes on the data lines. While INIT stays high the
// frame is held at that byte; after it, every rising STROBE edge moves on by one byte.
void SimulatedCameraModule::followFrameLines(const ControlLines& lines) {
    const bool initRose = lines.init && !lines_.init;
    const bool strobeRose = lines.strobe && !lines_.strobe;
    lines_ = lines;
    if (initRose) {
        const uint64_t frames = clock_.framesCompleted(sensor_[SensorRegister::clockPrescaler]);
        scene_ = &scenes_->at(frames == 0 ? 0 : frames - 1);
        layout_ = renderFrame(*scene_, sensor_, frame_, !reference_);
        position_ = 0;
        ++framesStarted_;
        return;
    }
    if (strobeRose && !lines.init && framesStarted_ != 0 && position_ < frame_.size())
        ++position_;
}

void SimulatedCameraModule::noteUnexpected(bool write, uint16_t port, uint8_t value) {
    if (unexpected_.size() < maxUnexpectedLogged)
        unexpected_.push_back(UnexpectedAccess{write, port, value});
}

} // namespace orvane
