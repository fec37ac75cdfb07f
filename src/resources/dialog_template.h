// Dialog templates as data: each control's ID, kind, caption, rectangle in dialog units and style.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace orvane {

enum class ControlKind : uint8_t {
    PushButton,
    Edit,
    RadioButton,
    Slider,
    StaticText,
    GroupBox,
    Icon,
};

// Style flags of a control.
namespace ControlStyle {
constexpr uint32_t none = 0;
constexpr uint32_t hidden = 1u << 0;
constexpr uint32_t disabled = 1u << 1;
constexpr uint32_t digitsOnly = 1u << 2;    // the keyboard gives only 0 to 9
constexpr uint32_t defaultButton = 1u << 3; // push button drawn as the default
constexpr uint32_t leftText = 1u << 4;      // radio button with its text left of the button
constexpr uint32_t centerVertically = 1u << 5;
constexpr uint32_t sunkenEdge = 1u << 6;
} // namespace ControlStyle

// Controls without an ID of their own (captions, group frames).
constexpr int noControlId = -1;

struct DialogRect {
    int x;
    int y;
    int width;
    int height;
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    std::string_view caption;
    DialogRect rect; // dialog units
    uint32_t style;
};

struct DialogTemplate {
    int id;
    std::string_view title;
    int width; // dialog units
    int height;
    std::string_view fontName;
    int fontPointSize;
    std::span<const ControlTemplate> controls;
};

// The control with the given ID, or nullptr.
constexpr const ControlTemplate* findControl(const DialogTemplate& dialog, int id) {
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id == id)
            return &control;
    }
    return nullptr;
}

} // namespace orvane
