// The minimum hold after each control-port write of a bus transaction on the hardware backends,
// as a busy wait on an injectable monotonic clock.
#pragma once

#include <chrono>

namespace orvane {

// How long every control-line level of a bus transaction stays on the wire at least, so the bus
// keeps within the sensor's timing however fast the machine and however cheap the trace output.
constexpr auto controlHoldTime = std::chrono::microseconds(5);
static_assert(controlHoldTime >= std::chrono::microseconds(5));

// A monotonic clock with nanosecond resolution.
class HoldClock {
public:
    virtual ~HoldClock() = default;
    virtual std::chrono::nanoseconds now() = 0;
};

// CLOCK_MONOTONIC.
class MonotonicHoldClock final : public HoldClock {
public:
    std::chrono::nanoseconds now() override;
};

// Spins until at least duration has passed on the clock. A sleep would be far too coarse for
// microseconds and would give the processor away in the middle of a bus transaction.
void busyWait(HoldClock& clock, std::chrono::nanoseconds duration);

} // namespace orvane
