// The fixed LPT1 register set and the control-register values the program writes.
#pragma once

#include <cstdint>

namespace orvane {

// Fixed addresses of the first parallel port; no detection, no other base.
struct ParallelPort {
    static constexpr uint16_t dataPort = 0x378;
    static constexpr uint16_t statusPort = 0x379;
    static constexpr uint16_t controlPort = 0x37A;
    static constexpr uint16_t ecrPort = 0x77A; // extended control register, base + 0x402
};

// Control-register bits. STROBE, AUTOFD and SELECT-IN are inverted at the connector:
// a 1 in the register drives the line low.
namespace ControlBit {
constexpr uint8_t strobe = 0x01;    // inverted
constexpr uint8_t autoFeed = 0x02;  // inverted; serial data line
constexpr uint8_t init = 0x04;      // not inverted
constexpr uint8_t selectIn = 0x08;  // inverted; serial clock line
constexpr uint8_t direction = 0x20; // 1 = data lines are inputs, driven by the camera
} // namespace ControlBit

// Extended control register value: mode field 001, the bidirectional byte mode.
constexpr uint8_t ecrByteMode = 0x20;

// Control-register value that leaves every line idle with the data port as input.
constexpr uint8_t controlIdle = 0x20;

} // namespace orvane
