// The simulated sensor's 256 registers, with the power-on values the simulation starts from.
#pragma once

#include <array>
#include <cstdint>

namespace orvane {

class SensorRegisterFile {
public:
    SensorRegisterFile() { powerOn(); }

    // All registers to their power-on values.
    void powerOn();

    // A register write from the bus. Bit 7 of register 0x12 is the soft reset: writing it
    // returns the whole file to its power-on values.
    void write(uint8_t subAddress, uint8_t value);

    uint8_t operator[](uint8_t subAddress) const { return registers_[subAddress]; }
    const std::array<uint8_t, 256>& registers() const { return registers_; }

private:
    std::array<uint8_t, 256> registers_{};
};

// The registers the simulation interprets, by what they hold.
namespace SensorRegister {
constexpr uint8_t gain = 0x00;
constexpr uint8_t blueBalance = 0x01;
constexpr uint8_t redBalance = 0x02;
constexpr uint8_t saturation = 0x03;
constexpr uint8_t contrast = 0x05;
constexpr uint8_t brightness = 0x06;
constexpr uint8_t sharpness = 0x07;
constexpr uint8_t blueBias = 0x0C;
constexpr uint8_t redBias = 0x0D;
constexpr uint8_t gainControl = 0x0E;
constexpr uint8_t exposure = 0x10;
constexpr uint8_t clockPrescaler = 0x11;
constexpr uint8_t commonA = 0x12; // format and mirror bits, AGC and AWB; bit 7 the soft reset
constexpr uint8_t commonB = 0x13; // bit 0 auto adjust
constexpr uint8_t commonC = 0x14; // CIF timing, gamma
constexpr uint8_t horizontalStart = 0x17;
constexpr uint8_t horizontalEnd = 0x18;
constexpr uint8_t verticalStart = 0x19;
constexpr uint8_t verticalEnd = 0x1A;
} // namespace SensorRegister

constexpr uint8_t softResetRegister = SensorRegister::commonA;
constexpr uint8_t softResetBit = 0x80;

} // namespace orvane
