// RegisterShadow: the program's copy of every managed sensor register and the option
// selectors' mode state. The bus is write-only, so this copy is
// the only record of what the sensor should hold.
#pragma once

#include <array>
#include <cstdint>

#include "geometry/frame_geometry.h"
#include "sensor/register_table.h"

namespace orvane {

struct ShadowEntry {
    uint8_t subAddress;
    uint8_t defaultValue;
    uint8_t value;   // the true value to send; the bus complements it on the wire
    uint8_t pending; // 1 = send at the next Set Register
};

// Image-format codes of imageFormat.
constexpr uint8_t imageFormatCif = 0x20;
constexpr uint8_t imageFormatQcif = 0x00;
constexpr uint8_t imageFormatNeither = 0x01;
// Output-width codes of uvBusMode.
constexpr uint8_t uvBusEightBits = 0x08;
constexpr uint8_t uvBusSixteenBits = 0x10;
// Gain codes of analogGain2x.
constexpr uint8_t analogGainDouble = 0x80;
constexpr uint8_t analogGainNormal = 0x00;
// Values of redBackgroundOffset.
constexpr uint8_t redBackgroundIncreased = 0x20;
constexpr uint8_t redBackgroundDecreased = 0x00;

// Which radio choice of each option is in force, plus the flags of the free register and the
// auto-adjust step, which have no register row of their own.
struct ModeState {
    uint8_t mirrorState = 0;
    uint8_t dataFormat = dataFormatYuv;
    uint8_t imageFormat = imageFormatCif;
    uint8_t uvBusMode = uvBusEightBits;
    uint8_t autoAdjustState = 1;
    uint8_t analogGain2x = analogGainNormal;
    uint8_t redBackgroundOffset = redBackgroundIncreased;
    uint8_t cameraInitialized = 0;
    uint8_t userRegisterPending = 0;
    uint8_t autoAdjustApplyPending = 1;

    friend bool operator==(const ModeState&, const ModeState&) = default;
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
