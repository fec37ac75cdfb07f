// The camera's controls as the library describes them: one entry a control, in the order a
// Camera applies several at once. Names are stable and the same in every front end.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "orvane/export.h"

namespace orvane {

enum class ControlType : uint8_t {
    Integer, // any whole number from minimum to maximum
    Boolean, // 0 or 1
    Menu,    // one of the choices
};

// How a front end shows a control.
enum class ControlDisplay : uint8_t {
    Slider,  // a slider over the range
    Number,  // a number typed in: a position or a divisor, where a slider's step means little
    Choices, // its choices (Boolean and Menu controls)
};

// A register and the bits of it that a control drives.
struct ControlRegister {
    uint8_t address;
    uint8_t mask; // 0xFF: the whole value
};

// One value of a Boolean or Menu control.
struct ControlChoice {
    std::string_view name; // as scripts write it: "rgb", "qcif", "on"
    int32_t value;
    bool selectable; // false: shown when in force, but cannot be chosen
};

struct ControlInfo {
    std::string_view name; // "brightness", "window-h-start", ...
    ControlType type;
    int32_t minimum;
    int32_t maximum;
    int32_t defaultValue;
    std::span<const ControlRegister> registers;
    std::string_view group;                 // for front ends that group their controls
    ControlDisplay display;                 // how a front end shows it
    std::string_view description;           // one line
    std::span<const ControlChoice> choices; // Boolean and Menu controls
};

// One change for Camera::set.
struct ControlSetting {
    std::string_view name;
    int32_t value;
};

// Every control, in the order a Camera applies several settings.
ORVANE_API std::span<const ControlInfo> controlList();

// The control named name, or null.
ORVANE_API const ControlInfo* findControl(std::string_view name);

// The choice of a Menu or Boolean control named name, or null.
ORVANE_API const ControlChoice* findChoice(const ControlInfo& control, std::string_view name);

} // namespace orvane
