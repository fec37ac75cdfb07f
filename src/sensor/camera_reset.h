// resetCamera: the "Re&set" button.
#pragma once

#include "image/frame_geometry.h"
#include "port/write_register.h"
#include "sensor/register_shadow.h"
#include "toolkit/panel.h"

namespace orvane {

// Sends the one reset write (0x80 to register 0x12, timed pacing), then puts the shadow and every
// control back to the state the panel has when first shown. The next Set Register sends the
// default register set; Reset itself sends nothing else.
void resetCamera(RegisterShadow& shadow, FrameGeometry& geometry, ControlBus& bus, Panel& panel);

} // namespace orvane
