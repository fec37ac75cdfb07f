// Option selectors. A selector adds or subtracts its mask only after its mode state shows the
// bit in the other state, so each bit stays in step with its mode state.
#include "sensor/option_selectors.h"

#include <array>
#include <string_view>

#include "app/panel_numbers.h"
#include "resources/control_ids.h"
#include "sensor/register_masks.h"
#include "sensor/window_edits.h"

namespace orvane {
namespace {

enum class MaskChange : int8_t { Subtract = -1, None = 0, Add = 1 };

// A selector that sets one mode state and moves one register bit.
struct ToggleRow {
    Selector selector;
    uint8_t ModeState::*state;
    uint8_t target;
    std::string_view alreadyMessage;
    uint8_t subAddress;
    MaskChange change;
    uint8_t mask;
    int partnerId; // unchecked once the selection is made
    bool needsInitializedCamera;
};

constexpr std::array<ToggleRow, 10> toggleRows{{
    {Selector::MirrorDisable, &ModeState::mirrorState, 0, "Mirror disabled already", 0x12,
     MaskChange::Subtract, mirrorBit, ControlId::mirrorEnable, false},
    {Selector::MirrorEnable, &ModeState::mirrorState, 1, "Mirror enabled already", 0x12,
     MaskChange::Add, mirrorBit, ControlId::mirrorDisable, false},
    {Selector::SixteenBits, &ModeState::uvBusMode, uvBusSixteenBits, "UV bus is enabled already",
     0x13, MaskChange::Subtract, eightBitBit, ControlId::eightBits, false},
    {Selector::EightBits, &ModeState::uvBusMode, uvBusEightBits, "UV bus is disabled already", 0x13,
     MaskChange::Add, eightBitBit, ControlId::sixteenBits, false},
    {Selector::AutoEnable, &ModeState::autoAdjustState, 1,
     "Main Auto Adjust Mode is already enabled", 0x13, MaskChange::Add, autoAdjustBit,
     ControlId::autoDisable, false},
    {Selector::AutoDisable, &ModeState::autoAdjustState, 0,
     "Main Auto Adjust Mode is already disabled", 0x13, MaskChange::Subtract, autoAdjustBit,
     ControlId::autoEnable, true},
    {Selector::Gain2x, &ModeState::analogGain2x, analogGainDouble,
     "Additional 2x Analog gain was selected already", 0x0E, MaskChange::Add, analogGainBit,
     ControlId::gainNormal, false},
    // Adding 0x80 again removes the bit that Gain 2x added, modulo 256.
    {Selector::GainNormal, &ModeState::analogGain2x, analogGainNormal,
     "Normal Analog gain was selected already", 0x0E, MaskChange::Add, analogGainBit,
     ControlId::gain2x, false},
    // The background red commands change no value: register 0x0D is simply sent again.
    {Selector::RedIncrease, &ModeState::redBackgroundOffset, redBackgroundIncreased,
     "Background red component increased already", 0x0D, MaskChange::None, 0,
     ControlId::redDecrease, false},
    {Selector::RedDecrease, &ModeState::redBackgroundOffset, redBackgroundDecreased,
     "Background red component decreased already", 0x0D, MaskChange::None, 0,
     ControlId::redIncrease, false},
}};

void refuse(Panel& panel, std::string_view message) {
    panel.messageBox(message, improperSelectionCaption);
}

void changeMask(ShadowEntry& entry, MaskChange change, uint8_t mask) {
    if (change == MaskChange::Add)
        entry.value = addMask(entry.value, mask);
    else if (change == MaskChange::Subtract)
        entry.value = subtractMask(entry.value, mask);
}

void runToggle(const ToggleRow& row, RegisterShadow& shadow, Panel& panel) {
    if (row.needsInitializedCamera && shadow.mode.cameraInitialized != 1) {
        refuse(panel, "The camera should be initialized first.");
        panel.setChecked(ControlId::autoDisable, false);
        return;
    }
    if (shadow.mode.*row.state == row.target) {
        refuse(panel, row.alreadyMessage);
        return;
    }
    shadow.mode.*row.state = row.target;
    ShadowEntry& entry = shadow.reg(row.subAddress);
    changeMask(entry, row.change, row.mask);
    entry.pending = 1;
    panel.setChecked(row.partnerId, false);
}

void selectYuv(RegisterShadow& shadow, FrameGeometry& geometry, Panel& panel) {
    if (shadow.mode.dataFormat == dataFormatYuv) {
        refuse(panel, "YUV output already");
        return;
    }
    ShadowEntry& reg12 = shadow.reg(0x12);
    ShadowEntry& reg28 = shadow.reg(0x28);
    ShadowEntry& reg14 = shadow.reg(0x14);
    ShadowEntry& reg20 = shadow.reg(0x20);
    reg12.value = subtractMask(reg12.value, rgbBit);
    reg28.value = subtractMask(reg28.value, reg28RgbBit);
    shadow.mode.dataFormat = dataFormatYuv;
    reg14.value = addMask(reg14.value, cifBit);
    reg20.value = reg20.defaultValue;
    reg14.pending = reg12.pending = reg28.pending = reg20.pending = 1;
    panel.setChecked(ControlId::rgb, false);
    panel.setChecked(ControlId::qcif, false);
    panel.setChecked(ControlId::cif, true);
    shadow.mode.imageFormat = imageFormatCif;
    writeWindowPreset(panel, yuvCifPreset);
    geometry = FrameGeometry{};
}

void selectRgb(RegisterShadow& shadow, Panel& panel) {
    if (shadow.mode.dataFormat == dataFormatRgb) {
        refuse(panel, "rgb output already");
        return;
    }
    ShadowEntry& reg12 = shadow.reg(0x12);
    ShadowEntry& reg28 = shadow.reg(0x28);
    ShadowEntry& reg14 = shadow.reg(0x14);
    ShadowEntry& reg20 = shadow.reg(0x20);
    reg12.value = addMask(reg12.value, rgbBit);
    reg28.value = addMask(reg28.value, reg28RgbBit);
    shadow.mode.dataFormat = dataFormatRgb;
    reg14.value = subtractMask(reg14.value, cifBit);
    reg20.value = reg20RgbValue;
    reg28.pending = reg12.pending = reg20.pending = reg14.pending = 1;
    panel.setChecked(ControlId::yuv, false);
    panel.setChecked(ControlId::qcif, false);
    panel.setChecked(ControlId::cif, false);
    shadow.mode.imageFormat = imageFormatNeither;
    writeWindowPreset(panel, rgbPreset);
}

void selectCif(RegisterShadow& shadow, Panel& panel) {
    if (shadow.mode.imageFormat == imageFormatCif) {
        refuse(panel, "CIF output already");
        return;
    }
    shadow.mode.imageFormat = imageFormatCif;
    writeWindowPreset(panel, shadow.mode.dataFormat == dataFormatRgb ? rgbCifPreset : yuvCifPreset);
    panel.setChecked(ControlId::qcif, false);
}

void selectQcif(RegisterShadow& shadow, Panel& panel) {
    if (shadow.mode.imageFormat == imageFormatQcif) {
        refuse(panel, "QCIF output already");
        return;
    }
    shadow.mode.imageFormat = imageFormatQcif;
    writeWindowPreset(panel, rgbQcifPreset);
    if (shadow.mode.dataFormat == dataFormatYuv)
        writeWindowPreset(panel, yuvQcifPreset);
    panel.setChecked(ControlId::cif, false);
}

} // namespace

void runSelector(Selector selector, RegisterShadow& shadow, FrameGeometry& geometry, Panel& panel) {
    switch (selector) {
    case Selector::Yuv:
        selectYuv(shadow, geometry, panel);
        return;
    case Selector::Rgb:
        selectRgb(shadow, panel);
        return;
    case Selector::Cif:
        selectCif(shadow, panel);
        return;
    case Selector::Qcif:
        selectQcif(shadow, panel);
        return;
    default:
        break;
    }
    for (const ToggleRow& row : toggleRows) {
        if (row.selector == selector) {
            runToggle(row, shadow, panel);
            return;
        }
    }
}

} // namespace orvane
