// The sensor's stages on the scene's light.
#include "sim/sensor_stages.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "sim/sensor_clock.h"

namespace orvane {
namespace {

// sRGB code values to linear light and back: the stages scale light, not codes.
double exactLinear(double code) {
    const double c = code / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double toLinear(uint8_t code) {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (int i = 0; i < 256; ++i)
            values[i] = exactLinear(i);
        return values;
    }();
    return table[code];
}

// The nearest code of a light, from a table fine enough that near black a step of it is a fifth
// of a code; light above full scale is full scale.
constexpr std::size_t lightSteps = 16384;

double toCode(double linear) {
    static const std::array<uint8_t, lightSteps + 1> codes = [] {
        std::array<uint8_t, lightSteps + 1> values{};
        std::size_t code = 0;
        for (std::size_t i = 0; i <= lightSteps; ++i) {
            while (code < 255 && exactLinear(code + 0.5) <= double(i) / lightSteps)
                ++code;
            values[i] = static_cast<uint8_t>(code);
        }
        return values;
    }();
    return codes[std::min(lightSteps,
                          static_cast<std::size_t>(std::max(linear, 0.0) * lightSteps))];
}

uint8_t clampedCode(double code) {
    return static_cast<uint8_t>(std::lround(std::clamp(code, 0.0, 255.0)));
}

double lineSeconds(uint8_t prescaler) {
    return double(pixelClocksPerLine) * 2 * ((prescaler & 0x3F) + 1) / double(mainClockHz);
}

} // namespace

bool SensorStages::neutral() const {
    return light == 1.0 && blueGain == 1.0 && redGain == 1.0 && blueBias == 0.0 && redBias == 0.0 &&
           aperture == 0.0;
}

double exposureSeconds(uint8_t exposure, uint8_t prescaler) {
    return 2.0 * exposure * lineSeconds(prescaler);
}

double analogGain(uint8_t gain, uint8_t gainControl) {
    return ((gain & 0x0F) / 16.0 + 1) * ((gain >> 4 & 1) + 1) * ((gain >> 5 & 1) + 1) *
           ((gainControl & 0x80) != 0 ? 2 : 1);
}

SensorStages sensorStagesFor(const SensorRegisterFile& sensor) {
    SensorStages stages;
    stages.light =
        exposureSeconds(sensor[SensorRegister::exposure], sensor[SensorRegister::clockPrescaler]) /
        exposureSeconds(neutralExposure, neutralPrescaler) *
        analogGain(sensor[SensorRegister::gain], sensor[SensorRegister::gainControl]);
    stages.blueGain = sensor[SensorRegister::blueBalance] / double(unitBalance);
    stages.redGain = sensor[SensorRegister::redBalance] / double(unitBalance);
    stages.blueBias = sensor[SensorRegister::blueBias] * biasCodesPerStep;
    stages.redBias = sensor[SensorRegister::redBias] * biasCodesPerStep;
    stages.aperture =
        (double(sensor[SensorRegister::sharpness]) - neutralSharpness) / neutralSharpness;
    return stages;
}

Rgb throughStages(Rgb pixel, Rgb neighbourMean, const SensorStages& stages) {
    // The aperture correction moves every channel by the luma's own edge.
    const auto luma = [](Rgb p) { return 0.299 * p.red + 0.587 * p.green + 0.114 * p.blue; };
    const double edge = stages.aperture * (luma(pixel) - luma(neighbourMean));
    const auto channel = [&](uint8_t code, double gain, double bias) {
        return clampedCode(toCode(toLinear(code) * stages.light * gain) + bias + edge);
    };
    return Rgb{channel(pixel.red, stages.redGain, stages.redBias), channel(pixel.green, 1.0, 0.0),
               channel(pixel.blue, stages.blueGain, stages.blueBias)};
}

} // namespace orvane
