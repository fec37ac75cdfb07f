// Power-on values of the simulated sensor. They follow the sensor's documented reset state for
// the registers the simulation interprets (format, window, image controls); every other register
// starts at zero.
#include "sim/sensor_register_file.h"

namespace orvane {
namespace {

struct PowerOnValue {
    uint8_t subAddress;
    uint8_t value;
};

constexpr std::array<PowerOnValue, 22> powerOnValues{{
    {0x00, 0x00}, // gain
    {0x01, 0x80}, // blue balance
    {0x02, 0x80}, // red balance
    {0x03, 0x80}, // saturation
    {0x05, 0x48}, // contrast
    {0x06, 0x80}, // brightness
    {0x07, 0xC6}, // sharpness
    {0x0C, 0x20}, // blue bias
    {0x0D, 0x20}, // red bias
    {0x10, 0x9A}, // exposure
    {0x11, 0x00}, // clock prescaler
    {0x12, 0x24}, // common A: YUV, no mirror, auto white balance
    {0x13, 0x01}, // common B: 16-bit output, auto adjust
    {0x14, 0x24}, // common C: CIF
    {0x17, 0x1A}, // window horizontal start
    {0x18, 0xBE}, // window horizontal end
    {0x19, 0x03}, // window vertical start
    {0x1A, 0xF4}, // window vertical end
    {0x1C, 0x7F}, // manufacturer ID, high byte
    {0x1D, 0xA2}, // manufacturer ID, low byte
    {0x20, 0x1D}, // common E
    {0x28, 0x20}, // common H: YUV
}};

} // namespace

void SensorRegisterFile::powerOn() {
    registers_.fill(0);
    for (const PowerOnValue& entry : powerOnValues)
        registers_[entry.subAddress] = entry.value;
}

void SensorRegisterFile::write(uint8_t subAddress, uint8_t value) {
    if (subAddress == softResetRegister && (value & softResetBit) != 0) {
        powerOn();
        return;
    }
    registers_[subAddress] = value;
}

} // namespace orvane
