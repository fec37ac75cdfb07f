// The sensor's frame count from simulated time.
#include "sim/sensor_clock.h"

namespace orvane {

uint64_t SensorClock::framesCompleted(uint8_t prescaler) {
    const uint64_t period = sensorFrameNanoseconds(prescaler);
    const uint64_t done = (now_ - frameStart_) / period;
    frames_ += done;
    frameStart_ += done * period;
    return frames_;
}

} // namespace orvane
