// Faults of real hardware the simulated module can act out, so that the checks that find them
// can be tried without a port: no module, no power, a port that cannot turn its data lines
// around, a data line stuck, a sensor that hears no bus, a frame cut short.
#pragma once

#include <cstdint>

namespace orvane {

struct ModuleFaults {
    bool absent = false;       // nothing drives the data lines: every read is 0xFF
    bool unpowered = false;    // every read is 0x00, and the sensor hears nothing
    bool noTurnaround = false; // the port keeps driving its data lines: reads give its last write
    bool deaf = false;         // the sensor hears no bus transaction: its registers never change
    bool shortFrame = false;   // the module stops serving half-way: the rest of a frame reads 0xFF
    uint8_t stuckLow = 0;      // data lines held at 0, one bit each
    uint8_t stuckHigh = 0;     // data lines held at 1

    bool any() const {
        return absent || unpowered || noTurnaround || deaf || shortFrame || stuckLow != 0 ||
               stuckHigh != 0;
    }
    friend bool operator==(const ModuleFaults&, const ModuleFaults&) = default;
};

} // namespace orvane
