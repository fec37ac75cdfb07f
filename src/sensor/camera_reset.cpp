// The camera reset sequence.
#include "sensor/camera_reset.h"

#include "app/panel_numbers.h"
#include "resources/control_ids.h"
#include "sensor/register_masks.h"
#include "sensor/window_preset.h"

namespace orvane {
namespace {

// Label 1081 is hidden; the reset writes it all the same.
constexpr uint32_t hiddenLabelAfterReset = 16;

void setSlider(Panel& panel, int id, uint8_t position, uint8_t& shown) {
    panel.setSliderPosition(id, position);
    shown = position;
}

} // namespace

void resetCamera(RegisterShadow& shadow, FrameGeometry& geometry, ControlBus& bus, Panel& panel) {
    {
        BusyScope busy(panel);
        writeRegister(bus, 0x12, resetValue, cameraResetPacing);
    }

    // Values, flags and mode state as at start-up; the edit-backed flags rise again below when
    // the edits are rewritten.
    shadow.restoreStartValues();
    geometry = resetFrameGeometry;

    SliderCopies& shown = shadow.shown;
    panel.setChecked(ControlId::eightBits, true);
    panel.setChecked(ControlId::sixteenBits, false);
    setEditUnsigned(panel, ControlId::clockPrescaler, shadow.reg(0x11).defaultValue);
    setSlider(panel, 1032, shadow.reg(0x05).defaultValue, shown.contrastShown);
    setSlider(panel, 1034, shadow.reg(0x06).defaultValue, shown.brightnessShown);
    setSlider(panel, 1058, shadow.reg(0x03).defaultValue, shown.saturationShown);
    setStaticUnsigned(panel, ControlId::contrastLabel, shown.contrastShown);
    setStaticUnsigned(panel, ControlId::brightnessLabel, shown.brightnessShown);
    setStaticUnsigned(panel, ControlId::saturationLabel, shown.saturationShown);
    setStaticUnsigned(panel, ControlId::hiddenLabel, hiddenLabelAfterReset);
    setSlider(panel, 1067, shadow.reg(0x0C).defaultValue, shown.blueBiasShown);
    panel.setChecked(ControlId::autoEnable, true);
    panel.setChecked(ControlId::autoDisable, false);
    setStaticUnsigned(panel, 1068, shown.blueBiasShown);
    setSlider(panel, 1071, shadow.reg(0x0D).defaultValue, shown.redBiasShown);
    setStaticUnsigned(panel, 1072, shown.redBiasShown);
    setSlider(panel, 1075, shadow.reg(0x07).defaultValue, shown.sharpnessShown);
    setStaticUnsigned(panel, 1076, shown.sharpnessShown);
    setEditUnsigned(panel, ControlId::windowHStart, yuvCifPreset.hStart);
    setEditUnsigned(panel, ControlId::windowHEnd, yuvCifPreset.hEnd);
    setEditUnsigned(panel, ControlId::windowVStart, yuvCifPreset.vStart);
    setEditUnsigned(panel, ControlId::windowVEnd, yuvCifPreset.vEnd);
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
