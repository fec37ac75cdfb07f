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

constexpr uint8_t softResetRegister = 0x12;
constexpr uint8_t softResetBit = 0x80;

} // namespace orvane
