// The six sliders: the register each stands for, its change copy, its label and its set-up.
#pragma once

#include <array>
#include <cstdint>

#include "sensor/register_shadow.h"

namespace orvane {

struct SliderRow {
    int sliderId;
    uint8_t subAddress;
    uint8_t SliderCopies::*shown; // the change-detection copy
    int labelId;
    int maximum;        // the range is 0 to maximum
    int tickFrequency;  // 0 = left as the control has it
    bool labelAtSetUp;  // the label is written while the slider is set up
    bool redBackground; // the copy and label carry redBackgroundOffset
};

// In the order the scroll handler visits them and the panel sets them up.
constexpr std::array<SliderRow, 6> sliderRows{{
    {1032, 0x05, &SliderCopies::contrastShown, 1060, 255, 0, false, false},
    {1034, 0x06, &SliderCopies::brightnessShown, 1061, 255, 10, false, false},
    {1058, 0x03, &SliderCopies::saturationShown, 1062, 255, 10, false, false},
    {1067, 0x0C, &SliderCopies::blueBiasShown, 1068, 63, 0, true, false},
    {1071, 0x0D, &SliderCopies::redBiasShown, 1072, 63, 0, true, true},
    {1075, 0x07, &SliderCopies::sharpnessShown, 1076, 255, 1, true, false},
}};

} // namespace orvane
