// The sensor's stages as its registers set them.
#include "sim/sensor_stages.h"

#include "sim/sensor_clock.h"

namespace orvane {
namespace {

double lineSeconds(uint8_t prescaler) {
    return double(pixelClocksPerLine) * 2 * ((prescaler & 0x3F) + 1) / double(mainClockHz);
}

} // namespace

double exposureSeconds(uint8_t exposure, uint8_t prescaler) {
    return 2.0 * exposure * lineSeconds(prescaler);
}

double analogGain(uint8_t gain, uint8_t gainControl) {
    return ((gain & 0x0F) / 16.0 + 1) * ((gain >> 4 & 1) + 1) * ((gain >> 5 & 1) + 1) *
           ((gainControl & 0x80) != 0 ? 2 : 1);
}

SensorStages sensorStagesFor(const SensorRegisterFile& sensor) {
    SensorStages stages;
    stages.exposureSeconds =
        exposureSeconds(sensor[SensorRegister::exposure], sensor[SensorRegister::clockPrescaler]);
    stages.analogGain =
        analogGain(sensor[SensorRegister::gain], sensor[SensorRegister::gainControl]);
    stages.balance = {sensor[SensorRegister::redBalance] / double(unitBalance), 1.0,
                      sensor[SensorRegister::blueBalance] / double(unitBalance)};
    stages.bias = {sensor[SensorRegister::redBias] * biasCodesPerStep, 0.0,
                   sensor[SensorRegister::blueBias] * biasCodesPerStep};
    stages.aperture =
        (double(sensor[SensorRegister::sharpness]) - neutralSharpness) / neutralSharpness;
    stages.gamma = (sensor[SensorRegister::commonC] & gammaEnableBit) != 0;
    return stages;
}

} // namespace orvane
