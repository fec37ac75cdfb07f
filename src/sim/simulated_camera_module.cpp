// The simulated camera module's port side.
#include "sim/simulated_camera_module.h"

#include <algorithm>
#include <utility>

#include "port/parallel_port.h"
#include "sim/frame_renderer.h"

namespace orvane {
namespace {

// Keeps the log of a runaway caller from growing without bound.
constexpr std::size_t maxUnexpectedLogged = 1024;
// The most sensor frames the loops catch up on at once: they have long settled by then.
constexpr uint64_t maxFramesCaughtUp = 256;

} // namespace

SimulatedCameraModule::SimulatedCameraModule(const SensorModelSettings& model)
    : SimulatedCameraModule(builtinScene(), model) {}

SimulatedCameraModule::SimulatedCameraModule(Scene scene, const SensorModelSettings& model)
    : SimulatedCameraModule(stillScene(std::move(scene)), model) {}

SimulatedCameraModule::SimulatedCameraModule(std::unique_ptr<SceneSequence> scenes,
                                             const SensorModelSettings& model)
    : model_(model), scenes_(std::move(scenes)), scene_(&scenes_->at(0)), pipeline_(model) {
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
            hostWrite(transaction->subAddress, transaction->value);
        followFrameLines(lines);
        return;
    }
    case ParallelPort::ecrPort:
        ecr_ = value;
        return;
    case ParallelPort::dataPort:
        // The camera's wiring never drives them; a port that cannot turn them around shows it.
        dataWritten_ = value;
        noteUnexpected(true, port, value);
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
    const ModuleFaults& faults = model_.faults;
    return static_cast<uint8_t>((dataLines() & ~faults.stuckLow) | faults.stuckHigh);
}

// What drives the data lines: the port itself when it cannot turn them around, nothing when no
// module answers, else the module's frame.
uint8_t SimulatedCameraModule::dataLines() const {
    const ModuleFaults& faults = model_.faults;
    if (faults.noTurnaround)
        return dataWritten_;
    if (faults.absent)
        return floatingDataLines;
    if (faults.unpowered)
        return unpoweredDataLines;
    if (!lines_.dataPortInput || framesStarted_ == 0)
        return floatingDataLines;
    if (faults.shortFrame && position_ >= layout_.lines / 2 * std::size_t{layout_.bytesPerLine})
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
        // The frame served was taken with the registers the loops left after the one before it.
        const uint64_t frames = clock_.framesCompleted(sensor_[SensorRegister::clockPrescaler]);
        const uint64_t served = frames == 0 ? 0 : frames - 1;
        runLoops(served);
        frameServed_ = served;
        scene_ = &scenes_->at(served);
        layout_ = model_.reference ? renderFrame(*scene_, sensor_, frame_)
                                   : pipeline_.render(*scene_, scenes_->illumination(served),
                                                      sensor_, served, frame_);
        runLoops(frames);
        position_ = 0;
        ++framesStarted_;
        return;
    }
    if (strobeRose && !lines.init && framesStarted_ != 0 && position_ < frame_.size())
        ++position_;
}

// A register write from the bus, once the sensor has caught up with the time it arrives: while
// auto adjust runs, the sensor keeps its own gain and balance.
void SimulatedCameraModule::hostWrite(uint8_t subAddress, uint8_t value) {
    runLoops(clock_.framesCompleted(sensor_[SensorRegister::clockPrescaler]));
    const ModuleFaults& faults = model_.faults;
    if (faults.deaf || faults.absent || faults.unpowered)
        return;
    if (!model_.reference && autoAdjusting(sensor_) && subAddress <= SensorRegister::redBalance)
        return;
    sensor_.write(subAddress, value);
    if (subAddress == softResetRegister && (value & softResetBit) != 0)
        loops_.restart();
}

// Runs the loops once for each sensor frame before frame end not yet seen, with the registers of
// this moment and that frame's light (and the scene of the newest, which a still scene shares and
// a moving one barely changes).
void SimulatedCameraModule::runLoops(uint64_t end) {
    if (end <= framesRun_)
        return;
    const uint64_t first = std::max(framesRun_, end - std::min(end, maxFramesCaughtUp));
    framesRun_ = end;
    if (model_.reference || !autoAdjusting(sensor_))
        return;
    const Scene& scene = scenes_->at(end - 1);
    for (uint64_t frame = first; frame < end; ++frame)
        loops_.afterFrame(sensor_, pipeline_.measure(scene, scenes_->illumination(frame), sensor_));
}

void SimulatedCameraModule::noteUnexpected(bool write, uint16_t port, uint8_t value) {
    if (unexpected_.size() < maxUnexpectedLogged)
        unexpected_.push_back(UnexpectedAccess{write, port, value});
}

} // namespace orvane
