// Monotonic hold clock and the busy wait.
#include "port/hold_clock.h"

#include <ctime>

namespace orvane {

std::chrono::nanoseconds MonotonicHoldClock::now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

void busyWait(HoldClock& clock, std::chrono::nanoseconds duration) {
    const std::chrono::nanoseconds start = clock.now();
    while (clock.now() - start < duration) {
    }
}

} // namespace orvane
