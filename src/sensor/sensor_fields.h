// SensorFields: the numbers a Set Register takes its values from besides the shadow: the slider
// positions, the clock prescaler, the window and the free register. The panel keeps them in its
// controls; a Camera keeps them itself.
#pragma once

#include <array>
#include <cstdint>

#include "sensor/register_table.h"

namespace orvane {

struct SensorFields {
    // Every field at the value the panel shows when it is first shown.
    SensorFields();

    // The number of a slider- or edit-backed register; the register must be one of the table's.
    int32_t& of(uint8_t subAddress);
    int32_t of(uint8_t subAddress) const;

    // By register table row; unused for stored rows.
    std::array<int32_t, registerTable.size()> byRow{};
    int32_t userRegisterNumber = 0;
    int32_t userRegisterValue = 0;

    friend bool operator==(const SensorFields&, const SensorFields&) = default;
};

// The row of a managed register in the write order, or registerTable.size() for another one.
std::size_t registerRow(uint8_t subAddress);

} // namespace orvane
