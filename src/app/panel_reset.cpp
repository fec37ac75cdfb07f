// The camera reset sequence on the panel.
#include "app/panel_reset.h"

#include "app/window_edits.h"
#include "resources/control_ids.h"
#include "toolkit/panel_numbers.h"

namespace orvane {
namespace {

// Label 1081 is hidden; the reset writes it all the same.
constexpr uint32_t hiddenLabelAfterReset = 16;

} // namespace

void resetCamera(CameraDevice& device, SliderCopies& sliders, Panel& panel) {
    {
        BusyScope busy(panel);
        device.reset();
    }
    // Values, flags and mode state are as at start-up; the edit-backed flags rise again below
    // when the edits are rewritten.
    RegisterShadow& shadow = device.shadow;

    panel.setChecked(ControlId::eightBits, true);
    panel.setChecked(ControlId::sixteenBits, false);
    setEditUnsigned(panel, ControlId::clockPrescaler, shadow.reg(0x11).defaultValue);
    // Each slider, its change copy and its label back to the register's default; the red-bias
    // copy too holds the bare position, so the next scroll event raises register 0x0D.
    for (const SliderRow& row : sliderRows) {
        if (row.sliderId == ControlId::redBiasSlider) {
            panel.setChecked(ControlId::autoEnable, true);
            panel.setChecked(ControlId::autoDisable, false);
        }
        const uint8_t position = shadow.reg(row.subAddress).defaultValue;
        panel.setSliderPosition(row.sliderId, position);
        sliders.*row.shown = position;
        setStaticUnsigned(panel, row.labelId, position);
    }
    setStaticUnsigned(panel, ControlId::hiddenLabel, hiddenLabelAfterReset);
    writeWindowPreset(panel, yuvCifPreset);
    panel.setChecked(ControlId::yuv, true);
    panel.setChecked(ControlId::rgb, false);
    panel.setChecked(ControlId::cif, true);
    panel.setChecked(ControlId::qcif, false);
    panel.setChecked(ControlId::mirrorDisable, true);
    panel.setChecked(ControlId::mirrorEnable, false);
    panel.setChecked(ControlId::gain2x, false);
    panel.setChecked(ControlId::gainNormal, true);
    setEditUnsigned(panel, ControlId::userRegisterNumber, 0);
    setEditUnsigned(panel, ControlId::userRegisterValue, 0);
}

} // namespace orvane
