// Set Register: window checks, write list, transactions, message, flags.
#include "sensor/apply_settings.h"

#include <array>
#include <string_view>

#include "resources/control_ids.h"
#include "sensor/register_masks.h"
#include "toolkit/panel_numbers.h"

namespace orvane {
namespace {

struct Window {
    uint32_t hStart;
    uint32_t hEnd;
    uint32_t vStart;
    uint32_t vEnd;
};

// Fields are read as signed numbers and compared unsigned, so a negative entry counts as larger
// than any bound.
uint32_t readField(const Panel& panel, int id) {
    return static_cast<uint32_t>(editNumber(panel, id));
}

Window readWindow(const Panel& panel) {
    return Window{
        readField(panel, ControlId::windowHStart), readField(panel, ControlId::windowHEnd),
        readField(panel, ControlId::windowVStart), readField(panel, ControlId::windowVEnd)};
}

// The checks of one axis of the window: the range of its start and end, then their order.
struct WindowAxisCheck {
    int startId;
    int endId;
    uint32_t minimumStart;
    uint32_t maximumEnd;
    std::string_view rangeMessage;
    std::string_view orderMessage;
    int32_t orderStart; // the pair an order failure resets the fields to
    int32_t orderEnd;
};

constexpr std::array<WindowAxisCheck, 2> windowAxisChecks{{
    {ControlId::windowHStart, ControlId::windowHEnd, 56, 214,
     "Horizonal Window Start programmable range is 56--214\n\nHorizontal Window Setting will BE "
     "CHANGED! ",
     "Horizonal Window Start should be smaller than Horizontal Window End\n\nHorizontal Window "
     "Setting will RESET",
     56, 138},
    {ControlId::windowVStart, ControlId::windowVEnd, 5, 245,
     "Vertical Window Start programmable range is 5--245\n\nVertical Window Setting will BE "
     "CHANGED!",
     "Vertical Window Start should be smaller than Vertical Window End\n\nVertical Window "
     "Setting will NOT set",
     5, 125},
}};

// Both range checks, then both order checks, each reading the fields afresh. A corrected field
// raises its change event, so the corrected register joins this run.
void checkWindow(Panel& panel) {
    for (const WindowAxisCheck& axis : windowAxisChecks) {
        const uint32_t start = readField(panel, axis.startId);
        const uint32_t end = readField(panel, axis.endId);
        if (start >= axis.minimumStart && end <= axis.maximumEnd)
            continue;
        panel.messageBox(axis.rangeMessage, improperRangeCaption);
        if (start < axis.minimumStart)
            setEditSigned(panel, axis.startId, static_cast<int32_t>(axis.minimumStart));
        if (end > axis.maximumEnd)
            setEditSigned(panel, axis.endId, static_cast<int32_t>(axis.maximumEnd));
    }
    for (const WindowAxisCheck& axis : windowAxisChecks) {
        if (readField(panel, axis.startId) < readField(panel, axis.endId))
            continue;
        panel.messageBox(axis.orderMessage, improperRangeCaption);
        setEditSigned(panel, axis.startId, axis.orderStart);
        setEditSigned(panel, axis.endId, axis.orderEnd);
    }
}

// One entry of the write list: a register row of the shadow, or the free register.
struct PlannedWrite {
    int row; // index into the register table, or -1 for the free register
    RegisterWrite freeRegister;
};

uint8_t low8(int32_t value) {
    return static_cast<uint8_t>(value);
}

} // namespace

FrameGeometry geometryFromWindowFields(const Panel& panel, uint8_t dataFormat) {
    const bool rgb = dataFormat == dataFormatRgb;
    const uint32_t horizontalFactor = rgb ? 4 : 2;
    const uint32_t verticalFactor = rgb ? 2 : 1;
    const Window w = readWindow(panel);
    FrameGeometry geometry;
    // Unsigned arithmetic: a window whose end is one past its start wraps to a huge width,
    // which the upload refuses.
    geometry.linesToRead = (w.vEnd - w.vStart + 1) * verticalFactor;
    geometry.imageHeight = geometry.linesToRead;
    geometry.imageWidth = (w.hEnd - w.hStart - 2) * horizontalFactor;
    geometry.bytesPerLine = rgb ? geometry.imageWidth + 3 : 2 * geometry.imageWidth + 2;
    return geometry;
}

std::vector<RegisterWrite> applySettings(RegisterShadow& shadow, FrameGeometry& geometry,
                                         ControlBus& bus, Panel& panel) {
    shadow.mode.cameraInitialized = 1;
    checkWindow(panel);
    geometry = geometryFromWindowFields(panel, shadow.mode.dataFormat);

    auto& entries = shadow.entries();
    std::vector<PlannedWrite> planned;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].pending != 1)
            continue;
        if (registerTable[i].source == ValueSource::Slider)
            entries[i].value = low8(panel.sliderPosition(registerTable[i].controlId));
        planned.push_back({static_cast<int>(i), {}});
    }
    if (shadow.mode.userRegisterPending == 1) {
        planned.push_back({-1,
                           {low8(editNumber(panel, ControlId::userRegisterNumber)),
                            low8(editNumber(panel, ControlId::userRegisterValue))}});
    }
    ShadowEntry& reg13 = shadow.reg(0x13);
    if (shadow.mode.autoAdjustApplyPending == 1) {
        reg13.value = addMask(reg13.value, autoAdjustBit);
        planned.push_back({static_cast<int>(&reg13 - entries.data()), {}});
    }
    shadow.writeListCount = static_cast<uint8_t>(planned.size());
    if (planned.empty())
        return {};

    // Values are taken only now, after the checks and the whole list.
    std::vector<RegisterWrite> writes;
    writes.reserve(planned.size());
    for (const PlannedWrite& entry : planned) {
        if (entry.row < 0) {
            writes.push_back(entry.freeRegister);
            continue;
        }
        const RegisterTableRow& row = registerTable[static_cast<std::size_t>(entry.row)];
        const uint8_t value = row.source == ValueSource::Edit
                                  ? low8(editNumber(panel, row.controlId))
                                  : entries[static_cast<std::size_t>(entry.row)].value;
        writes.push_back({row.subAddress, value});
    }
    {
        BusyScope busy(panel);
        for (const RegisterWrite& write : writes)
            writeRegister(bus, write.subAddress, write.value, applySettingsPacing);
    }
    panel.messageBox(allRegistersSetText, "I2C Control");

    for (ShadowEntry& entry : entries)
        entry.pending = 0;
    shadow.mode.userRegisterPending = 0;
    shadow.mode.autoAdjustApplyPending = 0;
    shadow.writeListCount = 0;
    return writes;
}

} // namespace orvane
