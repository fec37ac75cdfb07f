// The register map: every managed sensor register in write order, with its name, default, what
// its bits mean and where its value comes from. A register a control sets alone takes its name,
// meaning, default and dialog control from the control table.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "sensor/control_table.h"

namespace orvane {

enum class ValueSource : uint8_t {
    Stored,      // the shadow's own byte
    FieldStored, // its control's field when sent, which the shadow keeps
    FieldSent,   // its control's field when sent; the shadow keeps its own byte
};

struct RegisterTableRow {
    uint8_t subAddress;
    std::string_view name;    // as bring-up tools list it
    std::string_view meaning; // what its value or bits do where the controls use them; empty for
                              // a register only ever written with its default
    uint8_t defaultValue;
    ValueSource source;
    uint16_t controlId;     // the dialog control of a field's row, 0 otherwise
    uint8_t pendingAtStart; // also the flag Reset leaves before it rewrites the edits
};

constexpr uint16_t noControl = 0;

// The meaning of a register no control drives: the full register set writes its default.
constexpr std::string_view plain = "";

// The row of the register that the Integer control shown by dialogControl sets.
constexpr RegisterTableRow controlled(int dialogControl, ValueSource source,
                                      uint8_t pendingAtStart) {
    const ControlRow& row = *controlRowOfDialogControl(dialogControl);
    return {row.info.registers[0].address,
            row.info.name,
            row.info.description,
            static_cast<uint8_t>(row.info.defaultValue),
            source,
            static_cast<uint16_t>(dialogControl),
            pendingAtStart};
}

// Rows 1 to 49 of the write order. The free register (row 50) and the auto-adjust step (row 51)
// are not registers of their own and live in the mode state.
constexpr std::array<RegisterTableRow, 49> registerTable{{
    controlled(ControlId::contrastSlider, ValueSource::FieldStored, 1),
    controlled(ControlId::brightnessSlider, ValueSource::FieldStored, 1),
    controlled(ControlId::saturationSlider, ValueSource::FieldStored, 1),
    controlled(ControlId::blueBiasSlider, ValueSource::FieldStored, 0),
    controlled(ControlId::redBiasSlider, ValueSource::FieldStored, 0),
    controlled(ControlId::sharpnessSlider, ValueSource::FieldStored, 0),
    {0x04, "reg-04", plain, 0x80, ValueSource::Stored, noControl, 1},
    {0x08, "reg-08", plain, 0x80, ValueSource::Stored, noControl, 1},
    {0x09, "reg-09", plain, 0x80, ValueSource::Stored, noControl, 1},
    {0x0A, "reg-0a", plain, 0x80, ValueSource::Stored, noControl, 1},
    {0x0B, "reg-0b", plain, 0x80, ValueSource::Stored, noControl, 1},
    {0x15, "reg-15", plain, 0x40, ValueSource::Stored, noControl, 1},
    {0x16, "reg-16", plain, 0x03, ValueSource::Stored, noControl, 1},
    {0x0F, "reg-0f", plain, 0x05, ValueSource::Stored, noControl, 1},
    {0x1B, "reg-1b", plain, 0x28, ValueSource::Stored, noControl, 1},
    {0x0E, "gain-control", "bit 7: additional 2x analog gain", 0x17, ValueSource::Stored, noControl,
     1},
    {0x1E, "reg-1e", plain, 0xC4, ValueSource::Stored, noControl, 1},
    {0x1F, "reg-1f", plain, 0x04, ValueSource::Stored, noControl, 1},
    {0x20, "common-e", "0x1D in YUV, 0x00 in RGB", 0x1D, ValueSource::Stored, noControl, 1},
    {0x21, "reg-21", plain, 0x80, ValueSource::Stored, noControl, 1},
    {0x22, "reg-22", plain, 0x80, ValueSource::Stored, noControl, 1},
    {0x23, "reg-23", plain, 0x2A, ValueSource::Stored, noControl, 1},
    {0x24, "reg-24", plain, 0x10, ValueSource::Stored, noControl, 1},
    {0x25, "reg-25", plain, 0x8A, ValueSource::Stored, noControl, 1},
    {0x26, "reg-26", plain, 0x90, ValueSource::Stored, noControl, 1},
    {0x27, "reg-27", plain, 0xC2, ValueSource::Stored, noControl, 1},
    {0x29, "reg-29", plain, 0x11, ValueSource::Stored, noControl, 1},
    {0x2A, "reg-2a", plain, 0x84, ValueSource::Stored, noControl, 1},
    {0x2B, "reg-2b", plain, 0xAC, ValueSource::Stored, noControl, 1},
    {0x2C, "reg-2c", plain, 0xFE, ValueSource::Stored, noControl, 1},
    {0x2D, "reg-2d", plain, 0xB7, ValueSource::Stored, noControl, 1},
    {0x2E, "reg-2e", plain, 0x80, ValueSource::Stored, noControl, 1},
    {0x2F, "reg-2f", plain, 0xB0, ValueSource::Stored, noControl, 1},
    {0x30, "reg-30", plain, 0x71, ValueSource::Stored, noControl, 1},
    {0x31, "reg-31", plain, 0x60, ValueSource::Stored, noControl, 1},
    {0x32, "reg-32", plain, 0x26, ValueSource::Stored, noControl, 1},
    {0x33, "reg-33", plain, 0xA0, ValueSource::Stored, noControl, 1},
    {0x34, "reg-34", plain, 0x48, ValueSource::Stored, noControl, 1},
    {0x35, "reg-35", plain, 0x9E, ValueSource::Stored, noControl, 1},
    {0x12, "common-a", "bit 7: soft reset; bit 6: mirror; bit 3: colour mosaic (RGB) output", 0x24,
     ValueSource::Stored, noControl, 1},
    {0x13, "common-b",
     "bit 5: 8-bit output (UV bus off); bit 2: frame upload; bit 0: main auto adjust", 0x20,
     ValueSource::Stored, noControl, 1},
    {0x14, "common-c", "bit 5: CIF timing in YUV", 0x24, ValueSource::Stored, noControl, 1},
    {0x28, "common-h", "bit 7: colour mosaic (RGB) output", 0x20, ValueSource::Stored, noControl,
     1},
    controlled(ControlId::clockPrescaler, ValueSource::FieldSent, 1),
    controlled(ControlId::windowHStart, ValueSource::FieldSent, 0),
    controlled(ControlId::windowHEnd, ValueSource::FieldSent, 0),
    controlled(ControlId::windowVStart, ValueSource::FieldSent, 0),
    controlled(ControlId::windowVEnd, ValueSource::FieldSent, 0),
    {0x10, "exposure", "exposure time", 0xFF, ValueSource::Stored, noControl, 1},
}};

} // namespace orvane
