// Monotonic millisecond tick counter.
#include "port/tick_counter.h"

#include <ctime>

namespace orvane {

uint32_t MonotonicTickCounter::milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

} // namespace orvane
