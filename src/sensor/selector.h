// Selector: the options' choices as the panel's radio buttons and commands run them.
#pragma once

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

} // namespace orvane
