// TickCounter: the system's millisecond tick counter, injectable so tests never wait on the clock.
#pragma once

#include <cstdint>

namespace orvane {

class TickCounter {
public:
    virtual ~TickCounter() = default;
    // Milliseconds since an arbitrary origin, wrapping modulo 2^32.
    virtual uint32_t milliseconds() = 0;
};

// CLOCK_MONOTONIC in milliseconds, truncated to 32 bits.
class MonotonicTickCounter final : public TickCounter {
public:
    uint32_t milliseconds() override;
};

} // namespace orvane
