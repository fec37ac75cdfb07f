// The control table: every control of the camera, described once: its script name, kind, range,
// default, the register bits it drives, a group, how it is shown and a line of help. The CLI's
// names, the studio's dock and profiles, and the library's public control list all walk it; the
// panel's dialog template is tied to it by control ID.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "orvane/controls.h"
#include "resources/control_ids.h"
#include "sensor/mode_state.h"
#include "sensor/selector.h"

namespace orvane {

// How one choice of a Boolean or Menu control is told and selected; in the order of the
// control's public choices.
struct ChoiceBinding {
    uint8_t modeValue; // the mode state byte that means this choice
    Selector selector; // what selects it
    int dialogControl; // the panel's radio button or command for it, 0 for none
};

struct ControlRow {
    ControlInfo info;                        // what the library shows of it
    int dialogControl;                       // slider or edit of an Integer control
    uint8_t ModeState::*mode;                // the mode state of a Boolean or Menu control
    std::span<const ChoiceBinding> bindings; // one per choice
};

namespace controls {

inline constexpr ControlRegister reg03[]{{0x03, 0xFF}};
inline constexpr ControlRegister reg05[]{{0x05, 0xFF}};
inline constexpr ControlRegister reg06[]{{0x06, 0xFF}};
inline constexpr ControlRegister reg07[]{{0x07, 0xFF}};
inline constexpr ControlRegister reg0C[]{{0x0C, 0xFF}};
inline constexpr ControlRegister reg0D[]{{0x0D, 0xFF}};
inline constexpr ControlRegister reg11[]{{0x11, 0xFF}};
inline constexpr ControlRegister reg17[]{{0x17, 0xFF}};
inline constexpr ControlRegister reg18[]{{0x18, 0xFF}};
inline constexpr ControlRegister reg19[]{{0x19, 0xFF}};
inline constexpr ControlRegister reg1A[]{{0x1A, 0xFF}};
inline constexpr ControlRegister formatBits[]{{0x12, 0x08}, {0x14, 0x20}, {0x20, 0xFF},
                                              {0x28, 0x80}, {0x17, 0xFF}, {0x18, 0xFF},
                                              {0x19, 0xFF}, {0x1A, 0xFF}};
inline constexpr ControlRegister windowBits[]{
    {0x17, 0xFF}, {0x18, 0xFF}, {0x19, 0xFF}, {0x1A, 0xFF}};
inline constexpr ControlRegister mirrorBits[]{{0x12, 0x40}};
inline constexpr ControlRegister busWidthBits[]{{0x13, 0x20}};
inline constexpr ControlRegister autoAdjustBits[]{{0x13, 0x01}};
inline constexpr ControlRegister gainBits[]{{0x0E, 0x80}};

inline constexpr ControlChoice formatChoices[]{{"yuv", 0, true}, {"rgb", 1, true}};
inline constexpr ChoiceBinding formatBindings[]{{dataFormatYuv, Selector::Yuv, ControlId::yuv},
                                                {dataFormatRgb, Selector::Rgb, ControlId::rgb}};
// RGB's own window is neither CIF nor QCIF; it cannot be chosen, only left by choosing one.
inline constexpr ControlChoice sizeChoices[]{
    {"cif", 0, true}, {"qcif", 1, true}, {"rgb-window", 2, false}};
inline constexpr ChoiceBinding sizeBindings[]{{imageFormatCif, Selector::Cif, ControlId::cif},
                                              {imageFormatQcif, Selector::Qcif, ControlId::qcif},
                                              {imageFormatNeither, Selector::Cif, 0}};
inline constexpr ControlChoice mirrorChoices[]{{"off", 0, true}, {"on", 1, true}};
inline constexpr ChoiceBinding mirrorBindings[]{
    {0, Selector::MirrorDisable, ControlId::mirrorDisable},
    {1, Selector::MirrorEnable, ControlId::mirrorEnable}};
// The port reads eight data lines, so the 16-bit output cannot be captured.
inline constexpr ControlChoice busWidthChoices[]{{"8", 8, true}, {"16", 16, false}};
inline constexpr ChoiceBinding busWidthBindings[]{
    {uvBusEightBits, Selector::EightBits, ControlId::eightBits},
    {uvBusSixteenBits, Selector::SixteenBits, ControlId::sixteenBits}};
inline constexpr ControlChoice autoAdjustChoices[]{{"off", 0, true}, {"on", 1, true}};
inline constexpr ChoiceBinding autoAdjustBindings[]{
    {0, Selector::AutoDisable, ControlId::autoDisable},
    {1, Selector::AutoEnable, ControlId::autoEnable}};
inline constexpr ControlChoice gainChoices[]{{"normal", 1, true}, {"2x", 2, true}};
inline constexpr ChoiceBinding gainBindings[]{
    {analogGainNormal, Selector::GainNormal, ControlId::gainNormal},
    {analogGainDouble, Selector::Gain2x, ControlId::gain2x}};
inline constexpr ControlChoice redBackgroundChoices[]{{"decreased", 0, true},
                                                      {"increased", 1, true}};
inline constexpr ChoiceBinding redBackgroundBindings[]{
    {redBackgroundDecreased, Selector::RedDecrease, ControlId::redDecrease},
    {redBackgroundIncreased, Selector::RedIncrease, ControlId::redIncrease}};

constexpr ControlRow choiceRow(std::string_view name, ControlType type, int32_t minimum,
                               int32_t maximum, int32_t defaultValue,
                               std::span<const ControlRegister> registers, std::string_view group,
                               std::string_view description, uint8_t ModeState::*mode,
                               std::span<const ControlChoice> choices,
                               std::span<const ChoiceBinding> bindings) {
    return {{name, type, minimum, maximum, defaultValue, registers, group, ControlDisplay::Choices,
             description, choices},
            0,
            mode,
            bindings};
}

constexpr ControlRow integerRow(std::string_view name, int32_t minimum, int32_t maximum,
                                int32_t defaultValue, std::span<const ControlRegister> registers,
                                std::string_view group, ControlDisplay display,
                                std::string_view description, int dialogControl) {
    return {{name,
             ControlType::Integer,
             minimum,
             maximum,
             defaultValue,
             registers,
             group,
             display,
             description,
             {}},
            dialogControl,
            nullptr,
            {}};
}

} // namespace controls

// In the order a Camera applies several settings: the data format before the size it chooses,
// the size before the window it writes, so an explicit window always stands.
inline constexpr std::array<ControlRow, 18> controlTable{{
    controls::choiceRow("format", ControlType::Menu, 0, 1, 0, controls::formatBits, "Format",
                        "data format: yuv (4:2:2) or rgb (colour mosaic); each brings its window",
                        &ModeState::dataFormat, controls::formatChoices, controls::formatBindings),
    controls::choiceRow("size", ControlType::Menu, 0, 2, 0, controls::windowBits, "Format",
                        "image size: the cif or qcif window of the data format",
                        &ModeState::imageFormat, controls::sizeChoices, controls::sizeBindings),
    controls::choiceRow("mirror", ControlType::Boolean, 0, 1, 0, controls::mirrorBits, "Format",
                        "mirror the picture left to right", &ModeState::mirrorState,
                        controls::mirrorChoices, controls::mirrorBindings),
    controls::choiceRow("bus-width", ControlType::Menu, 8, 16, 8, controls::busWidthBits, "Format",
                        "digital output width in bits; 16 needs the UV bus, which the port does "
                        "not read",
                        &ModeState::uvBusMode, controls::busWidthChoices,
                        controls::busWidthBindings),
    controls::choiceRow("auto-adjust", ControlType::Boolean, 0, 1, 1, controls::autoAdjustBits,
                        "Exposure", "main auto adjust mode", &ModeState::autoAdjustState,
                        controls::autoAdjustChoices, controls::autoAdjustBindings),
    controls::choiceRow("gain", ControlType::Menu, 1, 2, 1, controls::gainBits, "Exposure",
                        "analog signal gain: normal or an additional 2x", &ModeState::analogGain2x,
                        controls::gainChoices, controls::gainBindings),
    controls::integerRow("brightness", 0, 255, 0x80, controls::reg06, "Picture",
                         ControlDisplay::Slider, "brightness level", ControlId::brightnessSlider),
    controls::integerRow("contrast", 0, 255, 0x00, controls::reg05, "Picture",
                         ControlDisplay::Slider, "contrast gain", ControlId::contrastSlider),
    controls::integerRow("saturation", 0, 255, 0xC0, controls::reg03, "Picture",
                         ControlDisplay::Slider, "colour saturation", ControlId::saturationSlider),
    controls::integerRow("sharpness", 0, 255, 0x80, controls::reg07, "Picture",
                         ControlDisplay::Slider, "edge enhancement", ControlId::sharpnessSlider),
    controls::integerRow("blue-bias", 0, 63, 0x00, controls::reg0C, "Colour balance",
                         ControlDisplay::Slider, "blue channel bias", ControlId::blueBiasSlider),
    controls::integerRow("red-bias", 0, 63, 0x00, controls::reg0D, "Colour balance",
                         ControlDisplay::Slider, "red channel bias", ControlId::redBiasSlider),
    controls::choiceRow("red-background", ControlType::Menu, 0, 1, 1, controls::reg0D,
                        "Colour balance",
                        "background red component; either choice sends the red bias again",
                        &ModeState::redBackgroundOffset, controls::redBackgroundChoices,
                        controls::redBackgroundBindings),
    controls::integerRow("clock-prescaler", 0, 63, 2, controls::reg11, "Timing",
                         ControlDisplay::Number, "pixel clock prescaler",
                         ControlId::clockPrescaler),
    controls::integerRow("window-h-start", 56, 214, 56, controls::reg17, "Window",
                         ControlDisplay::Number, "first column of the window",
                         ControlId::windowHStart),
    controls::integerRow("window-h-end", 56, 214, 214, controls::reg18, "Window",
                         ControlDisplay::Number, "last column of the window",
                         ControlId::windowHEnd),
    controls::integerRow("window-v-start", 5, 245, 5, controls::reg19, "Window",
                         ControlDisplay::Number, "first line of the window",
                         ControlId::windowVStart),
    controls::integerRow("window-v-end", 5, 245, 212, controls::reg1A, "Window",
                         ControlDisplay::Number, "last line of the window", ControlId::windowVEnd),
}};

// Every Boolean and Menu control has one binding per choice.
static_assert([] {
    for (const ControlRow& row : controlTable) {
        if (row.bindings.size() != row.info.choices.size())
            return false;
    }
    return true;
}());

// The row named name, or null.
constexpr const ControlRow* findControlRow(std::string_view name) {
    for (const ControlRow& row : controlTable) {
        if (row.info.name == name)
            return &row;
    }
    return nullptr;
}

// The row that drives the bits mask of register address (the whole register by default), or null.
constexpr const ControlRow* controlRowOfRegister(uint8_t address, uint8_t mask = 0xFF) {
    for (const ControlRow& row : controlTable) {
        if (row.info.registers.size() == 1 && row.info.registers[0].address == address &&
            row.info.registers[0].mask == mask)
            return &row;
    }
    return nullptr;
}

// The Integer row shown by a slider or edit of the panel, or null.
constexpr const ControlRow* controlRowOfDialogControl(int dialogControl) {
    for (const ControlRow& row : controlTable) {
        if (row.info.type == ControlType::Integer && row.dialogControl == dialogControl)
            return &row;
    }
    return nullptr;
}

} // namespace orvane
