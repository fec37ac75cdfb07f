// Set Register on the panel, driven by the write plan.
#include "app/panel_settings.h"

#include "app/panel_sliders.h"
#include "resources/control_ids.h"
#include "toolkit/panel_numbers.h"

namespace orvane {

SensorFields readSensorFields(const Panel& panel) {
    SensorFields fields;
    for (std::size_t i = 0; i < registerTable.size(); ++i) {
        const RegisterTableRow& row = registerTable[i];
        if (row.source == ValueSource::FieldStored)
            fields.byRow[i] = panel.sliderPosition(row.controlId);
        else if (row.source == ValueSource::FieldSent)
            fields.byRow[i] = editNumber(panel, row.controlId);
    }
    fields.userRegisterNumber = editNumber(panel, ControlId::userRegisterNumber);
    fields.userRegisterValue = editNumber(panel, ControlId::userRegisterValue);
    return fields;
}

FrameGeometry geometryFromWindowFields(const Panel& panel, uint8_t dataFormat) {
    return windowGeometry(readSensorFields(panel), dataFormat);
}

std::vector<RegisterWrite> applySettings(CameraDevice& device, Panel& panel) {
    const ApplyPlan plan = planApply(device.shadow, readSensorFields(panel));
    // Each correction comes after its message; writing a field raises its change event, which
    // marks the register the plan already counts in.
    for (const WindowCorrection& correction : plan.corrections) {
        panel.messageBox(correction.text, improperRangeCaption);
        for (std::size_t i = 0; i < correction.fieldCount; ++i) {
            const RegisterTableRow& row =
                registerTable[registerRow(correction.fields[i].subAddress)];
            setEditSigned(panel, row.controlId, correction.fields[i].value);
        }
    }
    if (plan.writes.empty()) {
        device.keep(plan);
        return {};
    }
    {
        BusyScope busy(panel);
        device.send(plan);
    }
    panel.messageBox(allRegistersSetText, "I2C Control");
    device.keep(plan);
    return plan.writes;
}

} // namespace orvane
