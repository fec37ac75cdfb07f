// The connector line levels a control-register value produces, as the camera module sees them.
#pragma once

#include <cstdint>

#include "port/parallel_port.h"

namespace orvane {

struct ControlLines {
    bool clock;         // SELECT-IN, the serial clock
    bool data;          // AUTOFD, the serial data
    bool strobe;        // STROBE, the frame byte clock
    bool init;          // INIT, the frame start pulse
    bool dataPortInput; // the PC's data lines are inputs, driven by the camera
};

// STROBE, AUTOFD and SELECT-IN are inverted between register and connector; INIT is not.
constexpr ControlLines controlLinesFor(uint8_t value) {
    return ControlLines{
        (value & ControlBit::selectIn) == 0,  (value & ControlBit::autoFeed) == 0,
        (value & ControlBit::strobe) == 0,    (value & ControlBit::init) != 0,
        (value & ControlBit::direction) != 0,
    };
}

// The control-register value that puts the bus lines at the given levels, with the data port
// as input and STROBE and INIT idle.
constexpr uint8_t controlValueForBus(bool clock, bool data) {
    return static_cast<uint8_t>(ControlBit::direction | (clock ? 0 : ControlBit::selectIn) |
                                (data ? 0 : ControlBit::autoFeed));
}

} // namespace orvane
