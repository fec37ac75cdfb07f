// RegisterShadow start-up values and register lookup.
#include "sensor/register_shadow.h"

#include <cstdlib>

namespace orvane {
namespace {

// Row index by sub-address, -1 for registers the shadow does not manage.
constexpr std::array<int8_t, 256> rowBySubAddress = [] {
    std::array<int8_t, 256> rows{};
    rows.fill(-1);
    for (std::size_t i = 0; i < registerTable.size(); ++i)
        rows[registerTable[i].subAddress] = static_cast<int8_t>(i);
    return rows;
}();

std::size_t rowOf(uint8_t subAddress) {
    const int8_t row = rowBySubAddress[subAddress];
    if (row < 0)
        std::abort(); // a register outside the table is a programming error
    return static_cast<std::size_t>(row);
}

} // namespace

RegisterShadow::RegisterShadow() {
    restoreStartValues();
}

void RegisterShadow::restoreStartValues() {
    for (std::size_t i = 0; i < registerTable.size(); ++i) {
        const RegisterTableRow& row = registerTable[i];
        entries_[i] =
            ShadowEntry{row.subAddress, row.defaultValue, row.defaultValue, row.pendingAtStart};
    }
    mode = ModeState{};
    shown = SliderCopies{};
    writeListCount = 0;
}

ShadowEntry& RegisterShadow::reg(uint8_t subAddress) {
    return entries_[rowOf(subAddress)];
}

const ShadowEntry& RegisterShadow::reg(uint8_t subAddress) const {
    return entries_[rowOf(subAddress)];
}

} // namespace orvane
