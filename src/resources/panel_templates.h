// Template 102 (the control panel) and template 100 (the About box), string 101 and the icon ID.
#pragma once

#include <array>

#include "resources/dialog_template.h"

namespace orvane {

constexpr int controlPanelTemplateId = 102;
constexpr int aboutTemplateId = 100;
constexpr int aboutMenuStringId = 101;
constexpr int appIconId = 133;

namespace detail {
using K = ControlKind;
namespace S = ControlStyle;

// In template order, which is also the tab order of the controls that take the focus.
constexpr std::array<ControlTemplate, 61> controlPanelControls{{
    {1, K::PushButton, "&Set Register", {241, 7, 50, 26}, S::defaultButton},
    {1039, K::PushButton, "&Upload", {241, 39, 50, 26}, S::defaultButton},
    {1066, K::PushButton, "Save &As", {241, 69, 50, 26}, S::defaultButton},
    {1065, K::Edit, "", {240, 99, 51, 16}, S::none},
    {1026, K::PushButton, "Re&set", {241, 125, 50, 26}, S::defaultButton},
    {2, K::PushButton, "E&xit", {241, 158, 50, 26}, S::defaultButton},
    {1024, K::RadioButton, "&YUV", {13, 15, 29, 12}, S::none},
    {1025, K::RadioButton, "&RGB", {49, 17, 30, 11}, S::none},
    {1053, K::RadioButton, "16 Bits", {13, 41, 34, 12}, S::disabled},
    {1052, K::RadioButton, "8 Bits", {49, 41, 30, 13}, S::none},
    {1022, K::RadioButton, "CIF ", {14, 68, 28, 11}, S::none},
    {1023, K::RadioButton, "QCIF", {49, 68, 30, 11}, S::none},
    {1020, K::RadioButton, "Enable", {13, 96, 33, 13}, S::none},
    {1021, K::RadioButton, "Disable", {49, 94, 34, 15}, S::none},
    {1067, K::Slider, "", {126, 7, 80, 15}, S::none},
    {1071, K::Slider, "", {126, 24, 80, 15}, S::none},
    {1075, K::Slider, "", {126, 41, 80, 15}, S::none},
    {1032, K::Slider, "", {126, 58, 80, 15}, S::none},
    {1034, K::Slider, "", {126, 75, 80, 15}, S::none},
    {1058, K::Slider, "", {126, 92, 80, 15}, S::none},
    {1069, K::RadioButton, "Enable", {197, 128, 34, 9}, S::leftText},
    {1070, K::RadioButton, "Disable", {197, 143, 35, 10}, S::none},
    {noControlId, K::StaticText, "Sharpness Threshold", {56, 77, 36, 17}, S::hidden | S::disabled},
    {1078, K::RadioButton, "2x ", {13, 121, 31, 10}, S::none},
    {1079, K::RadioButton, "Normal", {47, 121, 37, 10}, S::none},
    {1042, K::Edit, "", {137, 125, 22, 12}, S::digitsOnly},
    {1044, K::Edit, "", {169, 125, 22, 12}, S::digitsOnly},
    {1043, K::Edit, "", {137, 143, 22, 12}, S::digitsOnly},
    {1045, K::Edit, "", {169, 143, 22, 12}, S::digitsOnly},
    {1031, K::Edit, "", {58, 147, 19, 14}, S::digitsOnly},
    {1037, K::Edit, "", {49, 164, 28, 14}, S::none},
    {1028, K::Edit, "", {137, 159, 25, 14}, S::digitsOnly},
    {noControlId, K::GroupBox, "Mirror", {7, 87, 78, 25}, S::none},
    {1063, K::GroupBox, "Image format", {7, 59, 78, 24}, S::none},
    {noControlId, K::GroupBox, "Data format", {7, 7, 78, 22}, S::none},
    {1027, K::Edit, "", {227, 35, 22, 12}, S::hidden | S::disabled | S::digitsOnly | S::sunkenEdge},
    {1029, K::StaticText, "Clock prescaler", {84, 158, 48, 17}, S::centerVertically},
    {1030, K::StaticText, "Misc", {7, 140, 16, 11}, S::none},
    {1033, K::StaticText, "Contrast", {89, 63, 30, 11}, S::none},
    {1035, K::StaticText, "Brightness", {90, 79, 34, 11}, S::none},
    {1036, K::StaticText, "Register(dec)", {7, 153, 44, 10}, S::none},
    {1038, K::StaticText, "Value(dec)", {7, 167, 36, 11}, S::none},
    {1041, K::StaticText, "Window", {94, 115, 31, 11}, S::none},
    {1046, K::StaticText, "Horizontal", {95, 127, 32, 11}, S::none},
    {1047, K::StaticText, "Vertical", {95, 143, 33, 10}, S::none},
    {1048, K::StaticText, "Start", {137, 113, 17, 8}, S::none},
    {1049, K::StaticText, "End", {169, 112, 14, 8}, S::none},
    {1051, K::GroupBox, "Digital output mode", {7, 31, 78, 25}, S::none},
    {noControlId, K::StaticText, "Saturation", {89, 97, 33, 10}, S::none},
    {1060, K::StaticText, "00", {210, 63, 16, 8}, S::none},
    {1061, K::StaticText, "00", {210, 80, 14, 8}, S::none},
    {1062, K::StaticText, "00", {210, 97, 16, 10}, S::none},
    {1068, K::StaticText, "00", {210, 13, 8, 8}, S::none},
    {noControlId, K::StaticText, "Blue Bias", {89, 13, 37, 11}, S::none},
    {noControlId, K::GroupBox, "Auto mode", {195, 114, 44, 45}, S::none},
    {1072, K::StaticText, "00", {210, 29, 8, 8}, S::none},
    {noControlId, K::StaticText, "Red Bias", {90, 29, 36, 11}, S::none},
    {noControlId, K::StaticText, "Sharpness", {89, 46, 31, 11}, S::none},
    {1076, K::StaticText, "00", {209, 46, 11, 8}, S::none},
    {noControlId, K::GroupBox, "Analog signal gain", {7, 113, 79, 21}, S::none},
    {1081, K::StaticText, "00", {250, 134, 13, 10}, S::hidden | S::disabled},
}};

// The About box: the application icon, a line naming the program (its version and licence are
// added from the build: aboutLine), and OK.
constexpr std::array<ControlTemplate, 3> aboutControls{{
    {noControlId, K::Icon, "", {11, 17, 20, 20}, S::none},
    {noControlId, K::StaticText, "Color Orvane Panel for OV7610", {40, 20, 132, 8}, S::none},
    {1, K::PushButton, "OK", {178, 7, 32, 14}, S::defaultButton},
}};
} // namespace detail

constexpr DialogTemplate controlPanelTemplate{
    controlPanelTemplateId,      "Color Orvane Panel for OV7610 ", 298, 191, "MS Sans Serif", 8,
    detail::controlPanelControls};

constexpr DialogTemplate aboutTemplate{
    aboutTemplateId, "About Orvane", 217, 55, "MS Sans Serif", 8, detail::aboutControls};

struct StringResource {
    int id;
    std::string_view text;
};

constexpr std::array<StringResource, 1> stringTable{{
    {aboutMenuStringId, "&About Orvane..."},
}};

// The string with the given ID, empty when there is none.
constexpr std::string_view loadString(int id) {
    for (const StringResource& entry : stringTable) {
        if (entry.id == id)
            return entry.text;
    }
    return {};
}

} // namespace orvane
