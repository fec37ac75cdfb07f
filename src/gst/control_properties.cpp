// Control table entries as GObject property definitions.
#include "control_properties.h"

#include <gst/gst.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

constexpr GParamFlags controlFlags =
    static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS | GST_PARAM_CONTROLLABLE |
                             GST_PARAM_MUTABLE_PLAYING);

const char* interned(std::string_view text) {
    return g_intern_string(std::string(text).c_str());
}

// "window-h-start" -> "GstOrvaneWindowHStart".
std::string enumTypeName(std::string_view control) {
    std::string name = "GstOrvane";
    bool upper = true;
    for (const char c : control) {
        if (c == '-' || c == '_') {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(g_ascii_toupper(c)) : c;
        upper = false;
    }
    return name;
}

// Registered once per process; GLib keeps the value table for the type's life.
GType menuType(const ControlInfo& control) {
    const std::string typeName = enumTypeName(control.name);
    if (const GType known = g_type_from_name(typeName.c_str()); known != 0)
        return known;
    auto* values = g_new0(GEnumValue, control.choices.size() + 1);
    for (std::size_t i = 0; i < control.choices.size(); ++i) {
        const ControlChoice& choice = control.choices[i];
        values[i].value = choice.value;
        values[i].value_name =
            interned(choice.selectable ? std::string(choice.name)
                                       : std::string(choice.name) + " (cannot be chosen)");
        values[i].value_nick = interned(choice.name);
    }
    return g_enum_register_static(interned(typeName), values);
}

} // namespace

GParamSpec* controlParamSpec(const ControlInfo& control) {
    const char* name = interned(control.name);
    const char* blurb = interned(control.description);
    switch (control.type) {
    case ControlType::Boolean:
        return g_param_spec_boolean(name, name, blurb, control.defaultValue != 0, controlFlags);
    case ControlType::Menu:
        return g_param_spec_enum(name, name, blurb, menuType(control), control.defaultValue,
                                 controlFlags);
    case ControlType::Integer:
        break;
    }
    return g_param_spec_int(name, name, blurb, control.minimum, control.maximum,
                            control.defaultValue, controlFlags);
}

void controlValueToGValue(const ControlInfo& control, int32_t value, GValue* out) {
    switch (control.type) {
    case ControlType::Boolean:
        g_value_set_boolean(out, value != 0);
        return;
    case ControlType::Menu:
        g_value_set_enum(out, value);
        return;
    case ControlType::Integer:
        g_value_set_int(out, value);
        return;
    }
}

int32_t controlValueFromGValue(const ControlInfo& control, const GValue* value) {
    switch (control.type) {
    case ControlType::Boolean:
        return g_value_get_boolean(value) ? 1 : 0;
    case ControlType::Menu:
        return g_value_get_enum(value);
    case ControlType::Integer:
        break;
    }
    return g_value_get_int(value);
}

} // namespace orvane
