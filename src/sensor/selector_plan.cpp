// Selector planning. A selector adds or subtracts its mask only after its mode state shows the bit
// in the other state, so each bit stays in step with its mode state.
#include <string_view>

#include "sensor/register_masks.h"
#include "sensor/write_plan.h"

namespace orvane {
namespace {

enum class MaskChange : int8_t { Subtract = -1, None = 0, Add = 1 };

// A selector that sets one mode state and moves one register bit.
struct ToggleRow {
    Selector selector;
    uint8_t ModeState::*state;
    uint8_t target;
    std::string_view alreadyText;
    uint8_t subAddress;
    MaskChange change;
    uint8_t mask;
    bool needsInitializedCamera;
};

constexpr std::array<ToggleRow, 10> toggleRows{{
    {Selector::MirrorDisable, &ModeState::mirrorState, 0, "Mirror disabled already", 0x12,
     MaskChange::Subtract, mirrorBit, false},
    {Selector::MirrorEnable, &ModeState::mirrorState, 1, "Mirror enabled already", 0x12,
     MaskChange::Add, mirrorBit, false},
    {Selector::SixteenBits, &ModeState::uvBusMode, uvBusSixteenBits, "UV bus is enabled already",
     0x13, MaskChange::Subtract, eightBitBit, false},
    {Selector::EightBits, &ModeState::uvBusMode, uvBusEightBits, "UV bus is disabled already", 0x13,
     MaskChange::Add, eightBitBit, false},
    {Selector::AutoEnable, &ModeState::autoAdjustState, 1,
     "Main Auto Adjust Mode is already enabled", 0x13, MaskChange::Add, autoAdjustBit, false},
    {Selector::AutoDisable, &ModeState::autoAdjustState, 0,
     "Main Auto Adjust Mode is already disabled", 0x13, MaskChange::Subtract, autoAdjustBit, true},
    {Selector::Gain2x, &ModeState::analogGain2x, analogGainDouble,
     "Additional 2x Analog gain was selected already", 0x0E, MaskChange::Add, analogGainBit, false},
    // Adding 0x80 again removes the bit that Gain 2x added, modulo 256.
    {Selector::GainNormal, &ModeState::analogGain2x, analogGainNormal,
     "Normal Analog gain was selected already", 0x0E, MaskChange::Add, analogGainBit, false},
    // The background red commands change no value: register 0x0D is simply sent again.
    {Selector::RedIncrease, &ModeState::redBackgroundOffset, redBackgroundIncreased,
     "Background red component increased already", 0x0D, MaskChange::None, 0, false},
    {Selector::RedDecrease, &ModeState::redBackgroundOffset, redBackgroundDecreased,
     "Background red component decreased already", 0x0D, MaskChange::None, 0, false},
}};

void changeMask(ShadowEntry& entry, MaskChange change, uint8_t mask) {
    if (change == MaskChange::Add)
        entry.value = addMask(entry.value, mask);
    else if (change == MaskChange::Subtract)
        entry.value = subtractMask(entry.value, mask);
}

SelectorPlan refused(const RegisterShadow& shadow, SelectorRefusal refusal, std::string_view text) {
    SelectorPlan plan{refusal, text, shadow};
    return plan;
}

SelectorPlan planToggle(const ToggleRow& row, const RegisterShadow& shadow) {
    if (row.needsInitializedCamera && shadow.mode.cameraInitialized != 1)
        return refused(shadow, SelectorRefusal::CameraNotInitialized,
                       "The camera should be initialized first.");
    if (shadow.mode.*row.state == row.target)
        return refused(shadow, SelectorRefusal::AlreadySelected, row.alreadyText);
    SelectorPlan plan{SelectorRefusal::None, {}, shadow};
    plan.shadow.mode.*row.state = row.target;
    ShadowEntry& entry = plan.shadow.reg(row.subAddress);
    changeMask(entry, row.change, row.mask);
    entry.pending = 1;
    return plan;
}

// The data format selectors: the RGB bits of registers 0x12 and 0x28 and the CIF bit of 0x14 move
// together, register 0x20 takes a fixed value, and the image format and window follow.
struct DataFormatRow {
    Selector selector;
    uint8_t target;
    std::string_view alreadyText;
    MaskChange rgbBits; // on registers 0x12 and 0x28; the CIF bit of 0x14 moves the other way
    bool reg20Default;  // register 0x20 back to its default, or to its RGB value
    uint8_t imageFormat;
    const WindowPreset* window;
    bool startGeometry; // the frame geometry back to its start-up values
};

constexpr std::array<DataFormatRow, 2> dataFormatRows{{
    {Selector::Yuv, dataFormatYuv, "YUV output already", MaskChange::Subtract, true, imageFormatCif,
     &yuvCifPreset, true},
    {Selector::Rgb, dataFormatRgb, "rgb output already", MaskChange::Add, false, imageFormatNeither,
     &rgbPreset, false},
}};

MaskChange opposite(MaskChange change) {
    return static_cast<MaskChange>(-static_cast<int>(change));
}

SelectorPlan planDataFormat(const DataFormatRow& row, const RegisterShadow& shadow) {
    if (shadow.mode.dataFormat == row.target)
        return refused(shadow, SelectorRefusal::AlreadySelected, row.alreadyText);
    SelectorPlan plan{SelectorRefusal::None, {}, shadow};
    RegisterShadow& after = plan.shadow;
    ShadowEntry& reg12 = after.reg(0x12);
    ShadowEntry& reg28 = after.reg(0x28);
    ShadowEntry& reg14 = after.reg(0x14);
    ShadowEntry& reg20 = after.reg(0x20);
    changeMask(reg12, row.rgbBits, rgbBit);
    changeMask(reg28, row.rgbBits, reg28RgbBit);
    after.mode.dataFormat = row.target;
    changeMask(reg14, opposite(row.rgbBits), cifBit);
    reg20.value = row.reg20Default ? reg20.defaultValue : reg20RgbValue;
    reg12.pending = reg14.pending = reg20.pending = reg28.pending = 1;
    after.mode.imageFormat = row.imageFormat;
    plan.windows = {row.window, nullptr};
    plan.startGeometry = row.startGeometry;
    return plan;
}

// The image format selectors change no register directly: the window registers carry them.
// Any other selector is left to the tables.
SelectorPlan planImageFormat(Selector selector, const RegisterShadow& shadow) {
    if (selector != Selector::Cif && selector != Selector::Qcif)
        return {SelectorRefusal::None, {}, shadow};
    const bool cif = selector == Selector::Cif;
    const uint8_t target = cif ? imageFormatCif : imageFormatQcif;
    if (shadow.mode.imageFormat == target)
        return refused(shadow, SelectorRefusal::AlreadySelected,
                       cif ? "CIF output already" : "QCIF output already");
    SelectorPlan plan{SelectorRefusal::None, {}, shadow};
    plan.shadow.mode.imageFormat = target;
    const bool rgb = shadow.mode.dataFormat == dataFormatRgb;
    if (cif)
        plan.windows = {rgb ? &rgbCifPreset : &yuvCifPreset, nullptr};
    else // the RGB preset first, then the YUV one over it in YUV
        plan.windows = {&rgbQcifPreset, rgb ? nullptr : &yuvQcifPreset};
    return plan;
}

} // namespace

SelectorPlan planSelector(Selector selector, const RegisterShadow& shadow) {
    SelectorPlan plan = planImageFormat(selector, shadow);
    for (const DataFormatRow& row : dataFormatRows) {
        if (row.selector == selector)
            plan = planDataFormat(row, shadow);
    }
    for (const ToggleRow& row : toggleRows) {
        if (row.selector == selector)
            plan = planToggle(row, shadow);
    }
    // Writing a window field marks its register for sending.
    for (const WindowPreset* preset : plan.windows) {
        for (const uint8_t subAddress : {0x17, 0x18, 0x19, 0x1A}) {
            if (preset != nullptr)
                plan.shadow.reg(subAddress).pending = 1;
        }
    }
    return plan;
}

void writeWindows(const SelectorPlan& plan, SensorFields& fields) {
    for (const WindowPreset* preset : plan.windows) {
        if (preset == nullptr)
            continue;
        fields.of(0x17) = static_cast<int32_t>(preset->hStart);
        fields.of(0x18) = static_cast<int32_t>(preset->hEnd);
        fields.of(0x19) = static_cast<int32_t>(preset->vStart);
        fields.of(0x1A) = static_cast<int32_t>(preset->vEnd);
    }
}

} // namespace orvane
