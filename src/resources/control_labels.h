// The names a dialog template gives its controls as the operator reads them: a caption without
// its '&', the group box a control lies in, and the name of a field (an edit or slider, which has
// no caption of its own): the label to the left on the same line and, where several fields share
// that label, the heading above each one's column ("Horizontal Start").
#pragma once

#include <string>
#include <string_view>

#include "resources/dialog_template.h"

namespace orvane {

// caption without '&' and without blanks around it.
std::string displayCaption(std::string_view caption);

// The group box around control, if any.
const ControlTemplate* groupOf(const DialogTemplate& dialog, const ControlTemplate& control);

// The name of a visible edit or slider of dialog, or empty when nothing labels it.
std::string fieldLabel(const DialogTemplate& dialog, const ControlTemplate& field);

} // namespace orvane
