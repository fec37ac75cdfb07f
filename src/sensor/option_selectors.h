// The option selectors: radio pairs (and two commands) that change register bits, mode state,
// partner buttons and window presets. They never touch the port.
#pragma once

#include "image/frame_geometry.h"
#include "sensor/register_shadow.h"
#include "toolkit/panel.h"

namespace orvane {

enum class Selector {
    MirrorDisable,
    MirrorEnable,
    Cif,
    Qcif,
    Yuv,
    Rgb,
    SixteenBits,
    EightBits,
    AutoEnable,
    AutoDisable,
    Gain2x,
    GainNormal,
    RedIncrease,
    RedDecrease,
};

// Caption of every selector's refusal.
constexpr const char* improperSelectionCaption = "Improper selection";

// Runs one selector: refuses with a message when its option is already in force, otherwise
// updates the mode state, the register value and flag, the partner buttons and window edits.
void runSelector(Selector selector, RegisterShadow& shadow, FrameGeometry& geometry, Panel& panel);

} // namespace orvane
