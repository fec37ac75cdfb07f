// The panel's six sliders: the register each stands for, the copy of its position that tells
// whether it moved, its label and its set-up.
#pragma once

#include <array>
#include <cstdint>

#include "resources/control_ids.h"
#include "sensor/control_table.h"

namespace orvane {

// The value each slider showed when the scroll handler last looked; they only decide whether a
// slider moved. redBiasShown holds the red-bias position plus redBackgroundOffset.
struct SliderCopies {
    uint8_t contrastShown = 0x00;
    uint8_t brightnessShown = 0x80;
    uint8_t saturationShown = 0xC0;
    uint8_t blueBiasShown = 0x00;
    uint8_t redBiasShown = 0x00;
    uint8_t sharpnessShown = 0x80;

    friend bool operator==(const SliderCopies&, const SliderCopies&) = default;
};

struct SliderRow {
    int sliderId;
    uint8_t subAddress;
    uint8_t SliderCopies::*shown; // the change-detection copy
    int labelId;
    int tickFrequency;  // 0 = left as the control has it
    bool labelAtSetUp;  // the label is written while the slider is set up
    bool redBackground; // the copy and label carry redBackgroundOffset
};

// In the order the scroll handler visits them and the panel sets them up.
constexpr std::array<SliderRow, 6> sliderRows{{
    {ControlId::contrastSlider, 0x05, &SliderCopies::contrastShown, ControlId::contrastLabel, 0,
     false, false},
    {ControlId::brightnessSlider, 0x06, &SliderCopies::brightnessShown, ControlId::brightnessLabel,
     10, false, false},
    {ControlId::saturationSlider, 0x03, &SliderCopies::saturationShown, ControlId::saturationLabel,
     10, false, false},
    {ControlId::blueBiasSlider, 0x0C, &SliderCopies::blueBiasShown, ControlId::blueBiasLabel, 0,
     true, false},
    {ControlId::redBiasSlider, 0x0D, &SliderCopies::redBiasShown, ControlId::redBiasLabel, 0, true,
     true},
    {ControlId::sharpnessSlider, 0x07, &SliderCopies::sharpnessShown, ControlId::sharpnessLabel, 1,
     true, false},
}};

// A slider's range is its control's: 0 to this.
constexpr int sliderMaximum(const SliderRow& row) {
    return controlRowOfDialogControl(row.sliderId)->info.maximum;
}

} // namespace orvane
