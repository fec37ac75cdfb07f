// How a simulated module behaves beyond its registers: the realistic model (light, noise, the
// automatic loops) or the reference frames, the light and noise seed it has, and the faults of
// real hardware it acts out.
#pragma once

#include <cstdint>

#include "sim/module_faults.h"
#include "sim/sensor_constants.h"

namespace orvane {

struct SensorModelSettings {
    // The reference frames: the scene through the picture processing only, with no exposure,
    // gain, balance, noise or automatic loops, so that pinned pixels and pictures compared between
    // programs keep a fixed point.
    bool reference = false;
    // Shot, read and dark noise and the fixed pattern; off, the realistic frames are noise-free.
    bool noise = true;
    double lux = defaultLux;
    uint64_t seed = defaultNoiseSeed;
    ModuleFaults faults;

    friend bool operator==(const SensorModelSettings&, const SensorModelSettings&) = default;
};

constexpr SensorModelSettings referenceModel = [] {
    SensorModelSettings model;
    model.reference = true;
    model.noise = false;
    return model;
}();

} // namespace orvane
