// resetCamera: the panel's "Re&set" button.
#pragma once

#include "camera/camera_device.h"
#include "toolkit/panel.h"

namespace orvane {

// Sends the one reset write, then puts the shadow and every control back to the state the panel
// has when first shown. The next Set Register sends the default register set; Reset itself
// sends nothing else.
void resetCamera(CameraDevice& device, Panel& panel);

} // namespace orvane
