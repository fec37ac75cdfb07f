// The panel's option selectors: radio pairs (and two commands) that change register bits, mode
// state, partner buttons and window edits. They never touch the port.
#pragma once

#include "camera/camera_device.h"
#include "toolkit/panel.h"

namespace orvane {

// Caption of every selector's refusal.
constexpr const char* improperSelectionCaption = "Improper selection";

// Runs one selector: refuses with a message when its option is already in force, otherwise
// keeps the plan and moves the partner buttons and window edits to match.
void runSelector(Selector selector, CameraDevice& device, Panel& panel);

} // namespace orvane
