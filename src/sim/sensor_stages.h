// The sensor's own stages between the light and the picture processing, as its registers set
// them: the integration time from exposure (0x10) and the clock prescaler (0x11), analog gain
// (0x00 and the 2x stage of 0x0E bit 7), blue and red balance (0x01, 0x02) and bias (0x0C, 0x0D),
// the aperture (edge) correction of the luma (0x07) and the gamma curve.
#pragma once

#include <array>
#include <cstdint>

#include "sim/sensor_register_file.h"

namespace orvane {

// Channels in the order red, green, blue.
struct SensorStages {
    double exposureSeconds = 0.0;
    double analogGain = 1.0;
    std::array<double, 3> balance{1.0, 1.0, 1.0}; // gains after the analog gain
    std::array<double, 3> bias{0.0, 0.0, 0.0};    // output codes added
    double aperture = 0.0; // -1 (the neighbours' mean) .. 0 (as is) .. +1 (twice the edge)
    bool gamma = true;
};

// The exposure time in seconds for an exposure count and a prescaler: two line times a count.
double exposureSeconds(uint8_t exposure, uint8_t prescaler);

// documented: (AGC[3:0] / 16 + 1) x (AGC[4] + 1); assumed: x (AGC[5] + 1), x 2 with 0x0E bit 7.
double analogGain(uint8_t gain, uint8_t gainControl);

SensorStages sensorStagesFor(const SensorRegisterFile& sensor);

} // namespace orvane
