// The control table: every control of the camera, described once: its script name, kind, range,
// default, the register bits it drives, a group and a line of help. The CLI's names, the
// studio's dock and profiles, and the library's public control list all walk it; the panel's
// dialog template is tied to it by control ID.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "sensor/register_shadow.h"
#include "sensor/write_plan.h"

namespace orvane {

enum class ControlType : uint8_t { Integer, Boolean, Menu };

// One value of a Boolean or Menu control and how it is selected.
struct ControlChoice {
    std::string_view name;
    int32_t value;
    uint8_t modeValue; // the mode state byte that means this choice
    Selector selector; // what selects it
    int dialogControl; // the panel's radio button or command for it, 0 for none
    bool selectable;   // false: the panel's button is disabled and a Camera refuses it
};

// A register and the bits of it a control drives.
struct RegisterBits {
    uint8_t subAddress;
    uint8_t mask;
};

struct ControlRow {
    std::string_view name;
    ControlType type;
    int32_t minimum;
    int32_t maximum;
    int32_t defaultValue;
    std::span<const RegisterBits> registers;
    std::string_view group;
    std::string_view description;
    int dialogControl;                      // slider or edit of an Integer control
    uint8_t ModeState::*mode;               // the mode state of a Boolean or Menu control
    std::span<const ControlChoice> choices; // Boolean and Menu controls
};

namespace controls {

// The default of a register row.
constexpr int32_t registerDefault(uint8_t subAddress) {
    for (const RegisterTableRow& row : registerTable) {
        if (row.subAddress == subAddress)
            return row.defaultValue;
    }
    return 0;
}

inline constexpr RegisterBits reg03[]{{0x03, 0xFF}};
inline constexpr RegisterBits reg05[]{{0x05, 0xFF}};
inline constexpr RegisterBits reg06[]{{0x06, 0xFF}};
inline constexpr RegisterBits reg07[]{{0x07, 0xFF}};
inline constexpr RegisterBits reg0C[]{{0x0C, 0xFF}};
inline constexpr RegisterBits reg0D[]{{0x0D, 0xFF}};
inline constexpr RegisterBits reg11[]{{0x11, 0xFF}};
inline constexpr RegisterBits reg17[]{{0x17, 0xFF}};
inline constexpr RegisterBits reg18[]{{0x18, 0xFF}};
inline constexpr RegisterBits reg19[]{{0x19, 0xFF}};
inline constexpr RegisterBits reg1A[]{{0x1A, 0xFF}};
inline constexpr RegisterBits formatBits[]{{0x12, 0x08}, {0x14, 0x20}, {0x20, 0xFF}, {0x28, 0x80},
                                           {0x17, 0xFF}, {0x18, 0xFF}, {0x19, 0xFF}, {0x1A, 0xFF}};
inline constexpr RegisterBits windowBits[]{{0x17, 0xFF}, {0x18, 0xFF}, {0x19, 0xFF}, {0x1A, 0xFF}};
inline constexpr RegisterBits mirrorBits[]{{0x12, 0x40}};
inline constexpr RegisterBits busWidthBits[]{{0x13, 0x20}};
inline constexpr RegisterBits autoAdjustBits[]{{0x13, 0x01}};
inline constexpr RegisterBits gainBits[]{{0x0E, 0x80}};

inline constexpr ControlChoice formatChoices[]{
    {"yuv", 0, dataFormatYuv, Selector::Yuv, 1024, true},
    {"rgb", 1, dataFormatRgb, Selector::Rgb, 1025, true},
};
// RGB's own window is neither CIF nor QCIF; it cannot be chosen, only left by choosing one.
inline constexpr ControlChoice sizeChoices[]{
    {"cif", 0, imageFormatCif, Selector::Cif, 1022, true},
    {"qcif", 1, imageFormatQcif, Selector::Qcif, 1023, true},
    {"rgb-window", 2, imageFormatNeither, Selector::Cif, 0, false},
};
inline constexpr ControlChoice mirrorChoices[]{
    {"off", 0, 0, Selector::MirrorDisable, 1021, true},
    {"on", 1, 1, Selector::MirrorEnable, 1020, true},
};
// The port reads eight data lines, so the 16-bit output cannot be captured.
inline constexpr ControlChoice busWidthChoices[]{
    {"8", 8, uvBusEightBits, Selector::EightBits, 1052, true},
    {"16", 16, uvBusSixteenBits, Selector::SixteenBits, 1053, false},
};
inline constexpr ControlChoice autoAdjustChoices[]{
    {"off", 0, 0, Selector::AutoDisable, 1070, true},
    {"on", 1, 1, Selector::AutoEnable, 1069, true},
};
inline constexpr ControlChoice gainChoices[]{
    {"normal", 1, analogGainNormal, Selector::GainNormal, 1079, true},
    {"2x", 2, analogGainDouble, Selector::Gain2x, 1078, true},
};
inline constexpr ControlChoice redBackgroundChoices[]{
    {"decreased", 0, redBackgroundDecreased, Selector::RedDecrease, 1074, true},
    {"increased", 1, redBackgroundIncreased, Selector::RedIncrease, 1073, true},
};

} // namespace controls

// In the order a Camera applies several settings: the data format before the size it chooses,
// the size before the window it writes, so an explicit window always stands.
inline constexpr std::array<ControlRow, 18> controlTable{{
    {"format", ControlType::Menu, 0, 1, 0, controls::formatBits, "Format",
     "data format: yuv (4:2:2) or rgb (colour mosaic); each brings its own window", 0,
     &ModeState::dataFormat, controls::formatChoices},
    {"size", ControlType::Menu, 0, 2, 0, controls::windowBits, "Format",
     "image size: the window of cif or qcif for the data format", 0, &ModeState::imageFormat,
     controls::sizeChoices},
    {"mirror", ControlType::Boolean, 0, 1, 0, controls::mirrorBits, "Format",
     "mirror the picture left to right", 0, &ModeState::mirrorState, controls::mirrorChoices},
    {"bus-width", ControlType::Menu, 8, 16, 8, controls::busWidthBits, "Format",
     "digital output width in bits; 16 needs the UV bus, which the port does not read", 0,
     &ModeState::uvBusMode, controls::busWidthChoices},
    {"auto-adjust", ControlType::Boolean, 0, 1, 1, controls::autoAdjustBits, "Exposure",
     "main auto adjust mode", 0, &ModeState::autoAdjustState, controls::autoAdjustChoices},
    {"gain", ControlType::Menu, 1, 2, 1, controls::gainBits, "Exposure",
     "analog signal gain: normal or an additional 2x", 0, &ModeState::analogGain2x,
     controls::gainChoices},
    {"brightness",
     ControlType::Integer,
     0,
     255,
     controls::registerDefault(0x06),
     controls::reg06,
     "Picture",
     "brightness level",
     1034,
     nullptr,
     {}},
    {"contrast",
     ControlType::Integer,
     0,
     255,
     controls::registerDefault(0x05),
     controls::reg05,
     "Picture",
     "contrast gain",
     1032,
     nullptr,
     {}},
    {"saturation",
     ControlType::Integer,
     0,
     255,
     controls::registerDefault(0x03),
     controls::reg03,
     "Picture",
     "colour saturation",
     1058,
     nullptr,
     {}},
    {"sharpness",
     ControlType::Integer,
     0,
     255,
     controls::registerDefault(0x07),
     controls::reg07,
     "Picture",
     "edge enhancement",
     1075,
     nullptr,
     {}},
    {"blue-bias",
     ControlType::Integer,
     0,
     63,
     controls::registerDefault(0x0C),
     controls::reg0C,
     "Colour balance",
     "blue channel bias",
     1067,
     nullptr,
     {}},
    {"red-bias",
     ControlType::Integer,
     0,
     63,
     controls::registerDefault(0x0D),
     controls::reg0D,
     "Colour balance",
     "red channel bias",
     1071,
     nullptr,
     {}},
    {"red-background", ControlType::Menu, 0, 1, 1, controls::reg0D, "Colour balance",
     "background red component; either choice sends the red bias again", 0,
     &ModeState::redBackgroundOffset, controls::redBackgroundChoices},
    {"clock-prescaler",
     ControlType::Integer,
     0,
     63,
     controls::registerDefault(0x11),
     controls::reg11,
     "Timing",
     "pixel clock prescaler",
     1028,
     nullptr,
     {}},
    {"window-h-start",
     ControlType::Integer,
     56,
     214,
     controls::registerDefault(0x17),
     controls::reg17,
     "Window",
     "first column of the window",
     1042,
     nullptr,
     {}},
    {"window-h-end",
     ControlType::Integer,
     56,
     214,
     controls::registerDefault(0x18),
     controls::reg18,
     "Window",
     "last column of the window",
     1044,
     nullptr,
     {}},
    {"window-v-start",
     ControlType::Integer,
     5,
     245,
     controls::registerDefault(0x19),
     controls::reg19,
     "Window",
     "first line of the window",
     1043,
     nullptr,
     {}},
    {"window-v-end",
     ControlType::Integer,
     5,
     245,
     controls::registerDefault(0x1A),
     controls::reg1A,
     "Window",
     "last line of the window",
     1045,
     nullptr,
     {}},
}};

// The row named name, or null.
constexpr const ControlRow* findControlRow(std::string_view name) {
    for (const ControlRow& row : controlTable) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

// The Integer row shown by a slider or edit of the panel, or null.
constexpr const ControlRow* controlRowOfDialogControl(int dialogControl) {
    for (const ControlRow& row : controlTable) {
        if (row.type == ControlType::Integer && row.dialogControl == dialogControl)
            return &row;
    }
    return nullptr;
}

} // namespace orvane
