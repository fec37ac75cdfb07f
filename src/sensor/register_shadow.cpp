// RegisterShadow start-up values and register lookup.
#include "sensor/register_shadow.h"

#include "sensor/sensor_fields.h"

namespace orvane {

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
    writeListCount = 0;
}

ShadowEntry& RegisterShadow::reg(uint8_t subAddress) {
    const std::size_t row = registerRow(subAddress);
    if (row < entries_.size())
        return entries_[row];
    unmanaged_ = ShadowEntry{subAddress, 0, 0, 0};
    return unmanaged_;
}

const ShadowEntry& RegisterShadow::reg(uint8_t subAddress) const {
    const std::size_t row = registerRow(subAddress);
    if (row < entries_.size())
        return entries_[row];
    unmanaged_ = ShadowEntry{subAddress, 0, 0, 0};
    return unmanaged_;
}

} // namespace orvane
