// Auto exposure, gain and white balance of the simulated sensor.
#include "sim/automatic_loops.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/sensor_constants.h"
#include "sim/sensor_stages.h"

namespace orvane {
namespace {

constexpr uint8_t agcBits = 0x3F;
constexpr uint8_t longestExposure = 0xFF;
// The gamma curve is close to a power of 1 / 2.2: how far the light must move for a luma change.
constexpr double gammaExponent = 2.2;

double agcGain(uint8_t code) {
    return analogGain(code, 0);
}

// The AGC code whose gain is nearest wanted.
uint8_t agcCodeFor(double wanted) {
    uint8_t best = 0;
    for (uint8_t code = 1; code <= agcBits; ++code) {
        if (std::abs(agcGain(code) - wanted) < std::abs(agcGain(best) - wanted))
            best = code;
    }
    return best;
}

// The AGC code with the next gain above (up) or below the gain of code; code itself at the end.
uint8_t nextAgcCode(uint8_t code, bool up) {
    const double gain = agcGain(code);
    uint8_t next = code;
    double nextGain = up ? std::numeric_limits<double>::infinity() : 0.0;
    for (uint8_t candidate = 0; candidate <= agcBits; ++candidate) {
        const double g = agcGain(candidate);
        if (up ? (g > gain && g < nextGain) : (g < gain && g > nextGain)) {
            next = candidate;
            nextGain = g;
        }
    }
    return next;
}

} // namespace

bool autoAdjusting(const SensorRegisterFile& sensor) {
    return (sensor[SensorRegister::commonB] & commonBAutoAdjustBit) != 0;
}

void AutomaticLoops::afterFrame(SensorRegisterFile& sensor, const LoopMeasure& measured) {
    if (!autoAdjusting(sensor))
        return;
    if ((sensor[SensorRegister::commonA] & commonAAgcBit) != 0)
        adjustExposure(sensor, measured.luma);
    if ((sensor[SensorRegister::commonA] & commonAAwbBit) != 0)
        adjustBalance(sensor, measured);
}

// Exposure first; the gain only once the exposure is at its longest.
void AutomaticLoops::adjustExposure(SensorRegisterFile& sensor, double luma) const {
    if (std::abs(luma / lumaTarget - 1.0) <= lumaRestBand)
        return;
    const bool gamma = (sensor[SensorRegister::commonC] & gammaEnableBit) != 0;
    const double wanted = std::clamp(
        std::pow(lumaTarget / std::max(luma, 1.0), gamma ? gammaExponent : 1.0), 1 / 16.0, 16.0);
    const double step = std::pow(wanted, exposureLoopStep);
    const uint8_t exposure = sensor[SensorRegister::exposure];
    const uint8_t gain = sensor[SensorRegister::gain] & agcBits;
    const double total = exposure * agcGain(gain) * step;
    uint8_t newExposure = longestExposure;
    uint8_t newGain = 0;
    if (total <= longestExposure)
        newExposure =
            static_cast<uint8_t>(std::clamp<long>(std::lround(total), 1, longestExposure));
    else
        newGain = agcCodeFor(total / longestExposure);
    if (newExposure == exposure && newGain == gain) {
        // Rounding alone would stall the loop short of its band: one step of either.
        const bool up = step > 1.0;
        if (up && exposure < longestExposure)
            newExposure = exposure + 1;
        else if (up || gain != 0)
            newGain = nextAgcCode(gain, up);
        else if (exposure > 1)
            newExposure = exposure - 1;
    }
    sensor.write(SensorRegister::exposure, newExposure);
    sensor.write(SensorRegister::gain,
                 static_cast<uint8_t>((sensor[SensorRegister::gain] & ~agcBits) | newGain));
}

// Blue and red toward green; every frame until they are close, then now and then.
void AutomaticLoops::adjustBalance(SensorRegisterFile& sensor, const LoopMeasure& measured) {
    if (balanceSettled_ && ++framesSettled_ % balanceSettledInterval != 0)
        return;
    constexpr double darkest = 1e-3; // below it a channel says nothing of the light's colour
    const auto [red, green, blue] = measured.light;
    if (red < darkest || green < darkest || blue < darkest)
        return;
    const double blueError = green / blue;
    const double redError = green / red;
    const auto within = [](double error) { return std::abs(error - 1.0) <= balanceSettledBand; };
    balanceSettled_ = within(blueError) && within(redError);
    if (balanceSettled_)
        return;
    framesSettled_ = 0;
    const auto move = [&](uint8_t address, double error) {
        const uint8_t value = sensor[address];
        long next = std::clamp<long>(std::lround(value * std::pow(error, balanceLoopStep)), 1, 255);
        if (next == value && !within(error))
            next = std::clamp<long>(value + (error > 1.0 ? 1 : -1), 1, 255);
        sensor.write(address, static_cast<uint8_t>(next));
    };
    move(SensorRegister::blueBalance, blueError);
    move(SensorRegister::redBalance, redError);
}

} // namespace orvane
