// The managed sensor registers in write order, with their defaults and where their value comes
// from.
#pragma once

#include <array>
#include <cstdint>

namespace orvane {

enum class ValueSource : uint8_t {
    Stored, // the shadow's own byte
    Slider, // read from a track bar when sent
    Edit,   // the number in an edit field when sent
};

struct RegisterTableRow {
    uint8_t subAddress;
    uint8_t defaultValue;
    ValueSource source;
    uint16_t controlId;     // slider or edit for Slider and Edit rows, 0 otherwise
    uint8_t pendingAtStart; // also the flag Reset leaves before it rewrites the edits
};

constexpr uint16_t noControl = 0;

// Rows 1 to 49 of the write order. The free register (row 50) and the auto-adjust step (row 51)
// are not registers of their own and live in the mode state.
constexpr std::array<RegisterTableRow, 49> registerTable{{
    {0x05, 0x00, ValueSource::Slider, 1032, 1}, // Contrast
    {0x06, 0x80, ValueSource::Slider, 1034, 1}, // Brightness
    {0x03, 0xC0, ValueSource::Slider, 1058, 1}, // Saturation
    {0x0C, 0x00, ValueSource::Slider, 1067, 0}, // Blue Bias
    {0x0D, 0x00, ValueSource::Slider, 1071, 0}, // Red Bias
    {0x07, 0x80, ValueSource::Slider, 1075, 0}, // Sharpness
    {0x04, 0x80, ValueSource::Stored, noControl, 1},
    {0x08, 0x80, ValueSource::Stored, noControl, 1},
    {0x09, 0x80, ValueSource::Stored, noControl, 1},
    {0x0A, 0x80, ValueSource::Stored, noControl, 1},
    {0x0B, 0x80, ValueSource::Stored, noControl, 1},
    {0x15, 0x40, ValueSource::Stored, noControl, 1},
    {0x16, 0x03, ValueSource::Stored, noControl, 1},
    {0x0F, 0x05, ValueSource::Stored, noControl, 1},
    {0x1B, 0x28, ValueSource::Stored, noControl, 1},
    {0x0E, 0x17, ValueSource::Stored, noControl, 1},
    {0x1E, 0xC4, ValueSource::Stored, noControl, 1},
    {0x1F, 0x04, ValueSource::Stored, noControl, 1},
    {0x20, 0x1D, ValueSource::Stored, noControl, 1},
    {0x21, 0x80, ValueSource::Stored, noControl, 1},
    {0x22, 0x80, ValueSource::Stored, noControl, 1},
    {0x23, 0x2A, ValueSource::Stored, noControl, 1},
    {0x24, 0x10, ValueSource::Stored, noControl, 1},
    {0x25, 0x8A, ValueSource::Stored, noControl, 1},
    {0x26, 0x90, ValueSource::Stored, noControl, 1},
    {0x27, 0xC2, ValueSource::Stored, noControl, 1},
    {0x29, 0x11, ValueSource::Stored, noControl, 1},
    {0x2A, 0x84, ValueSource::Stored, noControl, 1},
    {0x2B, 0xAC, ValueSource::Stored, noControl, 1},
    {0x2C, 0xFE, ValueSource::Stored, noControl, 1},
    {0x2D, 0xB7, ValueSource::Stored, noControl, 1},
    {0x2E, 0x80, ValueSource::Stored, noControl, 1},
    {0x2F, 0xB0, ValueSource::Stored, noControl, 1},
    {0x30, 0x71, ValueSource::Stored, noControl, 1},
    {0x31, 0x60, ValueSource::Stored, noControl, 1},
    {0x32, 0x26, ValueSource::Stored, noControl, 1},
    {0x33, 0xA0, ValueSource::Stored, noControl, 1},
    {0x34, 0x48, ValueSource::Stored, noControl, 1},
    {0x35, 0x9E, ValueSource::Stored, noControl, 1},
    {0x12, 0x24, ValueSource::Stored, noControl, 1},
    {0x13, 0x20, ValueSource::Stored, noControl, 1},
    {0x14, 0x24, ValueSource::Stored, noControl, 1},
    {0x28, 0x20, ValueSource::Stored, noControl, 1},
    {0x11, 2, ValueSource::Edit, 1028, 1},   // Clock prescaler
    {0x17, 56, ValueSource::Edit, 1042, 0},  // window horizontal start
    {0x18, 214, ValueSource::Edit, 1044, 0}, // window horizontal end
    {0x19, 5, ValueSource::Edit, 1043, 0},   // window vertical start
    {0x1A, 212, ValueSource::Edit, 1045, 0}, // window vertical end
    {0x10, 0xFF, ValueSource::Stored, noControl, 1},
}};

} // namespace orvane
