// RegisterShadow: the program's copy of every managed sensor register and the option
// selectors' mode state. The bus is write-only, so this copy is
// the only record of what the sensor should hold.
#pragma once

#include <array>
#include <cstdint>

#include "sensor/mode_state.h"
#include "sensor/register_table.h"

namespace orvane {

struct ShadowEntry {
    uint8_t subAddress;
    uint8_t defaultValue;
    uint8_t value;   // the true value to send; the bus complements it on the wire
    uint8_t pending; // 1 = send at the next Set Register
};

class RegisterShadow {
public:
    // Every field at its start-up value.
    RegisterShadow();

    // Values, flags and mode state back to their start-up values. Start-up and
    // Reset leave the same shadow; the edit-backed flags rise afterwards when the panel
    // rewrites its edits.
    void restoreStartValues();

    // The entry of a managed register. Another register has no entry: it reads as a fresh entry
    // of value 0 that is never sent, so a wrong address changes nothing that goes out.
    ShadowEntry& reg(uint8_t subAddress);
    const ShadowEntry& reg(uint8_t subAddress) const;

    // Entries in write order.
    std::array<ShadowEntry, registerTable.size()>& entries() { return entries_; }
    const std::array<ShadowEntry, registerTable.size()>& entries() const { return entries_; }

    ModeState mode;
    uint8_t writeListCount = 0; // length of Set Register's write list while it runs

private:
    std::array<ShadowEntry, registerTable.size()> entries_{};
    mutable ShadowEntry unmanaged_{};
};

} // namespace orvane
