// Option selectors. A selector adds or subtracts its mask only after its mode state shows the
// bit in the other state, so each bit stays in step with its mode state.
#include "sensor/option_selectors.h"

#include <array>
#include <string_view>

#include "resources/control_ids.h"
#include "sensor/register_masks.h"
#include "sensor/window_edits.h"
#include "toolkit/panel_numbers.h"

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

// The data format selectors: the RGB bits of registers 0x12 and 0x28 and the CIF bit of 0x14 move
// together, register 0x20 takes a fixed value, and the image format and window follow.
struct DataFormatRow {
    Selector selector;
    uint8_t target;
    std::string_view alreadyMessage;
    MaskChange rgbBits; // on registers 0x12 and 0x28; the CIF bit of 0x14 moves the other way
    bool reg20Default;  // register 0x20 back to its default, or to its RGB value
    std::array<int, 3> unchecks; // 0 = none
    int checks;                  // 0 = none
    uint8_t imageFormat;
    const WindowPreset& window;
    bool startGeometry; // the frame geometry back to its start-up values
};

const std::array<DataFormatRow, 2> dataFormatRows{{
    {Selector::Yuv,
     dataFormatYuv,
     "YUV output already",
     MaskChange::Subtract,
     true,
     {ControlId::rgb, ControlId::qcif, 0},
     ControlId::cif,
     imageFormatCif,
     yuvCifPreset,
     true},
    {Selector::Rgb,
     dataFormatRgb,
     "rgb output already",
     MaskChange::Add,
     false,
     {ControlId::yuv, ControlId::qcif, ControlId::cif},
     0,
     imageFormatNeither,
     rgbPreset,
     false},
}};

MaskChange opposite(MaskChange change) {
    return static_cast<MaskChange>(-static_cast<int>(change));
}

void selectDataFormat(const DataFormatRow& row, RegisterShadow& shadow, FrameGeometry& geometry,
                      Panel& panel) {
    if (shadow.mode.dataFormat == row.target) {
        refuse(panel, row.alreadyMessage);
        return;
    }
    ShadowEntry& reg12 = shadow.reg(0x12);
    ShadowEntry& reg28 = shadow.reg(0x28);
    ShadowEntry& reg14 = shadow.reg(0x14);
    ShadowEntry& reg20 = shadow.reg(0x20);
    changeMask(reg12, row.rgbBits, rgbBit);
    changeMask(reg28, row.rgbBits, reg28RgbBit);
    shadow.mode.dataFormat = row.target;
    changeMask(reg14, opposite(row.rgbBits), cifBit);
    reg20.value = row.reg20Default ? reg20.defaultValue : reg20RgbValue;
    reg12.pending = reg14.pending = reg20.pending = reg28.pending = 1;
    for (const int id : row.unchecks) {
        if (id != 0)
            panel.setChecked(id, false);
    }
    if (row.checks != 0)
        panel.setChecked(row.checks, true);
    shadow.mode.imageFormat = row.imageFormat;
    writeWindowPreset(panel, row.window);
    if (row.startGeometry)
        geometry = FrameGeometry{};
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
    for (const DataFormatRow& row : dataFormatRows) {
        if (row.selector == selector) {
            selectDataFormat(row, shadow, geometry, panel);
            return;
        }
    }
    switch (selector) {
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
