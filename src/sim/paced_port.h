// PacedPort: a port that takes as long as a real parallel port. Every access of the wrapped port
// (the simulated module) waits out a fixed time first, and a bus transaction's control levels are
// held as on the hardware backends, so a frame takes about what it takes on the wire.
#pragma once

#include <chrono>
#include <memory>

#include "port/hold_clock.h"
#include "port/port_io.h"

namespace orvane {

// About what one ISA-bus access to a parallel port takes: 390,624 accesses, a CIF frame, in
// about 0.4 s.
constexpr auto hardwareAccessTime = std::chrono::microseconds(1);

class PacedPort final : public PortIo {
public:
    PacedPort(std::unique_ptr<PortIo> port, std::chrono::nanoseconds accessTime,
              std::unique_ptr<HoldClock> clock);

    void writePort(uint16_t port, uint8_t value) override;
    uint8_t readPort(uint16_t port) override;
    void holdBusLevel() override;

private:
    std::unique_ptr<PortIo> port_;
    std::chrono::nanoseconds accessTime_;
    std::unique_ptr<HoldClock> clock_;
};

} // namespace orvane
