// The sensor's own stages between the light and the picture processing, as its registers set
// them: exposure (0x10) over the clock prescaler's line time (0x11), analog gain (0x00 and the 2x
// stage of 0x0E bit 7), blue and red balance (0x01, 0x02) and bias (0x0C, 0x0D), and the aperture
// (edge) correction of the luma (0x07). Applied to the scene's light before the brightness,
// contrast and saturation of frame_renderer.h.
#pragma once

#include <cstdint>

#include "sim/scene.h"
#include "sim/sensor_register_file.h"

namespace orvane {

// Assumed: the exposure and prescaler the scene's picture is taken at as it is (the panel's
// defaults, 0xFF and 2); longer gathers proportionally more light.
constexpr uint8_t neutralExposure = 0xFF;
constexpr uint8_t neutralPrescaler = 2;
// Assumed: a balance register of 0x80 is a gain of 1; the aperture correction is neutral at 0x80,
// blurs toward 0 and sharpens toward 0xFF.
constexpr uint8_t unitBalance = 0x80;
constexpr uint8_t neutralSharpness = 0x80;
// Assumed: one bias step adds this many output codes to its channel.
constexpr double biasCodesPerStep = 1.0;

struct SensorStages {
    double light = 1.0;    // exposure time over the neutral one, times the analog gain
    double blueGain = 1.0; // balance
    double redGain = 1.0;
    double blueBias = 0.0; // output codes
    double redBias = 0.0;
    double aperture = 0.0; // -1 (the neighbours' mean) .. 0 (as is) .. +1 (twice the edge)

    bool neutral() const;
};

// The exposure time in seconds for an exposure count and a prescaler: two line times a count.
double exposureSeconds(uint8_t exposure, uint8_t prescaler);

// documented: (AGC[3:0] / 16 + 1) x (AGC[4] + 1); assumed: x (AGC[5] + 1), x 2 with 0x0E bit 7.
double analogGain(uint8_t gain, uint8_t gainControl);

SensorStages sensorStagesFor(const SensorRegisterFile& sensor);

// One scene pixel through the stages, with the mean of its four neighbours for the aperture
// correction.
Rgb throughStages(Rgb pixel, Rgb neighbourMean, const SensorStages& stages);

} // namespace orvane
