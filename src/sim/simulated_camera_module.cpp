// The simulated camera module's port side.
#include "sim/simulated_camera_module.h"

#include "port/parallel_port.h"
#include "sim/control_lines.h"

namespace orvane {
namespace {

// What the data lines read when nothing drives them.
constexpr uint8_t floatingDataLines = 0xFF;
// Keeps the log of a runaway caller from growing without bound.
constexpr std::size_t maxUnexpectedLogged = 1024;

} // namespace

void SimulatedCameraModule::writePort(uint16_t port, uint8_t value) {
    switch (port) {
    case ParallelPort::controlPort: {
        control_ = value;
        const ControlLines lines = controlLinesFor(value);
        if (const auto transaction = bus_.step(lines.clock, lines.data))
            sensor_.write(transaction->subAddress, transaction->value);
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
    if (port != ParallelPort::dataPort)
        noteUnexpected(false, port, 0);
    return floatingDataLines;
}

void SimulatedCameraModule::noteUnexpected(bool write, uint16_t port, uint8_t value) {
    if (unexpected_.size() < maxUnexpectedLogged)
        unexpected_.push_back(UnexpectedAccess{write, port, value});
}

} // namespace orvane
