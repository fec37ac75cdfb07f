// Naming the panel's controls in scripts: by ID, by caption, by group and caption, or by the name
// of the label beside a control that has no caption of its own.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "resources/dialog_template.h"

namespace orvane {

// Scripts name the save-as field, which nothing labels in the template, "File name".
inline constexpr std::string_view saveAsFieldName = "File name";

// A name as scripts compare it: '&' removed, blanks around it dropped and runs of blanks inside
// it made one, letters in lower case. "&Set Register", "set register" and "SET  REGISTER " match.
std::string normalizeName(std::string_view name);

// The names of a control, as shown to the user: its caption without '&' and surrounding blanks,
// its name in the control table ("brightness", "format=rgb"), "Group/Caption" when it lies
// inside a group box, and for a field the labels around it ("Horizontal Start"). Empty for a
// control without ID.
std::vector<std::string> controlNames(const DialogTemplate& dialog, const ControlTemplate& control);

// The names joined with ", " as --help and show list them, or "-" when there is none.
std::string controlNamesText(const DialogTemplate& dialog, const ControlTemplate& control);

// "push button", "edit", ...
std::string_view kindName(ControlKind kind);

struct ControlLookup {
    const ControlTemplate* control = nullptr; // null when the reference fails
    std::string error;                        // why, naming what would work
};

// The control of the wanted kind that a reference names: a decimal ID, or a name as above. Fails
// when nothing or more than one control of that kind has the name, or when the control is of
// another kind, hidden or disabled: an operator could not act on it.
ControlLookup findControlForAction(const DialogTemplate& dialog, std::string_view reference,
                                   ControlKind wanted);

} // namespace orvane
