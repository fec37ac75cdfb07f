// The simulated module's time. Every port access advances it by the nominal time of a real
// access, whatever pace the accesses really take, so the same accesses from power-on always give
// the same frames. The sensor makes frames continuously at the rate its clock prescaler gives.
#pragma once

#include <cstdint>

#include "sim/sensor_constants.h"

namespace orvane {

// How long one sensor frame takes with this clock prescaler register value. Documented for the
// sensor family: the internal clock is the main clock divided by 2 x (0x11[5:0] + 1).
constexpr uint64_t sensorFrameNanoseconds(uint8_t prescaler) {
    const uint64_t divider = 2 * ((prescaler & 0x3Fu) + 1);
    return divider * pixelClocksPerLine * linesPerFrame * 1'000'000'000 / mainClockHz;
}

class SensorClock {
public:
    // One port access.
    void tick() { now_ += nominalAccessNanoseconds; }
    // Brings the frame count up to now at the prescaler in force, and returns it: the frames the
    // sensor has completed since power-on.
    uint64_t framesCompleted(uint8_t prescaler);
    uint64_t nanoseconds() const { return now_; }

private:
    uint64_t now_ = 0;
    uint64_t frameStart_ = 0; // when the frame under way began
    uint64_t frames_ = 0;
};

} // namespace orvane
