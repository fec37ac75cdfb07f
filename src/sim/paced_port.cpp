// The simulated port's pace: each access waits out its time, bus levels held as on hardware.
#include "sim/paced_port.h"

namespace orvane {

PacedPort::PacedPort(std::unique_ptr<PortIo> port, std::chrono::nanoseconds accessTime,
                     std::unique_ptr<HoldClock> clock)
    : port_(std::move(port)), accessTime_(accessTime), clock_(std::move(clock)) {}

void PacedPort::writePort(uint16_t port, uint8_t value) {
    busyWait(*clock_, accessTime_);
    port_->writePort(port, value);
}

uint8_t PacedPort::readPort(uint16_t port) {
    busyWait(*clock_, accessTime_);
    return port_->readPort(port);
}

void PacedPort::holdBusLevel() {
    busyWait(*clock_, controlHoldTime);
}

} // namespace orvane
