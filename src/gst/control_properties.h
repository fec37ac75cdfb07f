// The camera's controls as GObject properties: one per entry of the control table, with its
// name, range and default. Menu controls become enumerations whose nicks are the table's choice
// names ("rgb", "qcif"), Boolean controls booleans.
#pragma once

#include <glib-object.h>

#include <orvane/controls.h>

namespace orvane {

// A property for control, changeable while playing and from a controller. The strings it
// names are interned, so the property can live for the whole process.
GParamSpec* controlParamSpec(const ControlInfo& control);

// The control's value as the property's GValue holds it, and back.
void controlValueToGValue(const ControlInfo& control, int32_t value, GValue* out);
int32_t controlValueFromGValue(const ControlInfo& control, const GValue* value);

} // namespace orvane
