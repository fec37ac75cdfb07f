// resetCamera: the panel's "Re&set" button.
#pragma once

#include "app/panel_sliders.h"
#include "camera/camera_device.h"
#include "toolkit/panel.h"

namespace orvane {

// Sends the one reset write, then puts the shadow, the slider copies and every control back to
// the state the panel has when first shown. The next Set Register sends the default register
// set; Reset itself sends nothing else.
void resetCamera(CameraDevice& device, SliderCopies& sliders, Panel& panel);

} // namespace orvane
