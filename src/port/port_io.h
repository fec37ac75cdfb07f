// PortIo: the two raw port operations through which every part of the program reaches the port,
// and the hold a bus transaction asks for after each of its control writes.
#pragma once

#include <cstdint>

namespace orvane {

// A byte-wide I/O port device. Each write reaches the port register before the call returns,
// in call order, with nothing cached, merged or reordered; a read returns what the register
// holds at the moment of the call. Neither reports an error.
class PortIo {
public:
    virtual ~PortIo() = default;
    virtual void writePort(uint16_t port, uint8_t value) = 0;
    virtual uint8_t readPort(uint16_t port) = 0;
    // Keeps the control lines at their last written level for the minimum time the two-wire
    // control bus needs. Only bus transactions ask for it; the frame handshake runs at the port's
    // own pace. Ports that are not real hardware need no hold.
    virtual void holdBusLevel() {}
};

} // namespace orvane
