// Bit masks of the option selectors and the register values tied to them. The masks are added
// and subtracted modulo 256, never ORed or ANDed, guarded by the mode state.
#pragma once

#include <cstdint>

namespace orvane {

constexpr uint8_t mirrorBit = 0x40;     // register 0x12, mirror enabled
constexpr uint8_t rgbBit = 0x08;        // register 0x12, RGB data format
constexpr uint8_t eightBitBit = 0x20;   // register 0x13, 8-bit output (UV bus disabled)
constexpr uint8_t autoAdjustBit = 0x01; // register 0x13, main auto adjust applied
constexpr uint8_t uploadBit = 0x04;     // register 0x13, only during an upload
constexpr uint8_t cifBit = 0x20;        // register 0x14, YUV data format
constexpr uint8_t reg28RgbBit = 0x80;   // register 0x28, RGB data format
constexpr uint8_t analogGainBit = 0x80; // register 0x0E, additional 2x analog gain

// Value the camera reset writes to register 0x12; any write with this bit set resets the sensor.
constexpr uint8_t resetValue = 0x80;
constexpr uint8_t resetRegister = 0x12;

// Register 0x20's value in RGB; YUV restores its default.
constexpr uint8_t reg20RgbValue = 0x00;

// Adds or subtracts a mask modulo 256.
constexpr uint8_t addMask(uint8_t value, uint8_t mask) {
    return static_cast<uint8_t>(value + mask);
}
constexpr uint8_t subtractMask(uint8_t value, uint8_t mask) {
    return static_cast<uint8_t>(value - mask);
}

} // namespace orvane
