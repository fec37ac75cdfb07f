// Writing a window preset into the four window edits of the panel.
#pragma once

#include "resources/control_ids.h"
#include "sensor/window_preset.h"
#include "toolkit/panel.h"
#include "toolkit/panel_numbers.h"

namespace orvane {

// In the order horizontal start, horizontal end, vertical start, vertical end; each write raises
// the edit's change event, which marks its window register pending.
inline void writeWindowPreset(Panel& panel, const WindowPreset& preset) {
    setEditUnsigned(panel, ControlId::windowHStart, preset.hStart);
    setEditUnsigned(panel, ControlId::windowHEnd, preset.hEnd);
    setEditUnsigned(panel, ControlId::windowVStart, preset.vStart);
    setEditUnsigned(panel, ControlId::windowVEnd, preset.vEnd);
}

} // namespace orvane
