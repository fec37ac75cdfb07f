// Set Register and selector planning.
#include "sensor/write_plan.h"

#include "sensor/control_table.h"
#include "sensor/register_masks.h"

namespace orvane {
namespace {

uint8_t low8(int32_t value) {
    return static_cast<uint8_t>(value);
}

// Fields are signed numbers compared unsigned, so a negative entry counts as larger than any
// bound.
uint32_t field(const SensorFields& fields, uint8_t subAddress) {
    return static_cast<uint32_t>(fields.of(subAddress));
}

// The range the control of a window register allows: the checks' bounds.
constexpr uint32_t bound(uint8_t subAddress, bool maximum) {
    const ControlRow* row = controlRowOfRegister(subAddress);
    return static_cast<uint32_t>(maximum ? row->info.maximum : row->info.minimum);
}

// The checks of one axis of the window: the range of its start and end, then their order.
struct WindowAxisCheck {
    uint8_t start;
    uint8_t end;
    uint32_t minimumStart;
    uint32_t maximumEnd;
    WindowProblem rangeProblem;
    std::string_view rangeText;
    WindowProblem orderProblem;
    std::string_view orderText;
    int32_t orderStart; // the pair an order failure resets the fields to
    int32_t orderEnd;
};

constexpr std::array<WindowAxisCheck, 2> windowAxisChecks{{
    {0x17, 0x18, bound(0x17, false), bound(0x18, true), WindowProblem::HorizontalRange,
     "Horizonal Window Start programmable range is 56--214\n\nHorizontal Window Setting will BE "
     "CHANGED! ",
     WindowProblem::HorizontalOrder,
     "Horizonal Window Start should be smaller than Horizontal Window End\n\nHorizontal Window "
     "Setting will RESET",
     56, 138},
    {0x19, 0x1A, bound(0x19, false), bound(0x1A, true), WindowProblem::VerticalRange,
     "Vertical Window Start programmable range is 5--245\n\nVertical Window Setting will BE "
     "CHANGED!",
     WindowProblem::VerticalOrder,
     "Vertical Window Start should be smaller than Vertical Window End\n\nVertical Window "
     "Setting will NOT set",
     5, 125},
}};

void correct(WindowCorrection& correction, SensorFields& fields, RegisterShadow& shadow,
             uint8_t subAddress, int32_t value) {
    correction.fields[correction.fieldCount++] = {subAddress, value};
    fields.of(subAddress) = value;
    // A corrected field counts as changed, so its register joins this run.
    shadow.reg(subAddress).pending = 1;
}

// Both range checks, then both order checks, each reading the fields as the earlier checks
// left them.
void checkWindow(ApplyPlan& plan) {
    for (const WindowAxisCheck& axis : windowAxisChecks) {
        const uint32_t start = field(plan.fields, axis.start);
        const uint32_t end = field(plan.fields, axis.end);
        if (start >= axis.minimumStart && end <= axis.maximumEnd)
            continue;
        WindowCorrection& c = plan.corrections.emplace_back(
            WindowCorrection{axis.rangeProblem, axis.rangeText, {}, 0});
        if (start < axis.minimumStart)
            correct(c, plan.fields, plan.shadow, axis.start,
                    static_cast<int32_t>(axis.minimumStart));
        if (end > axis.maximumEnd)
            correct(c, plan.fields, plan.shadow, axis.end, static_cast<int32_t>(axis.maximumEnd));
    }
    for (const WindowAxisCheck& axis : windowAxisChecks) {
        if (field(plan.fields, axis.start) < field(plan.fields, axis.end))
            continue;
        WindowCorrection& c = plan.corrections.emplace_back(
            WindowCorrection{axis.orderProblem, axis.orderText, {}, 0});
        correct(c, plan.fields, plan.shadow, axis.start, axis.orderStart);
        correct(c, plan.fields, plan.shadow, axis.end, axis.orderEnd);
    }
}

// One entry of the write list: a register row of the shadow, or the free register.
constexpr std::size_t freeRegisterRow = registerTable.size();

} // namespace

FrameGeometry windowGeometry(const SensorFields& fields, uint8_t dataFormat) {
    const bool rgb = dataFormat == dataFormatRgb;
    const uint32_t horizontalFactor = rgb ? 4 : 2;
    const uint32_t verticalFactor = rgb ? 2 : 1;
    FrameGeometry geometry;
    // Unsigned arithmetic: a window whose end is one past its start wraps to a huge width,
    // which the upload refuses.
    geometry.linesToRead = (field(fields, 0x1A) - field(fields, 0x19) + 1) * verticalFactor;
    geometry.imageHeight = geometry.linesToRead;
    geometry.imageWidth = (field(fields, 0x18) - field(fields, 0x17) - 2) * horizontalFactor;
    geometry.bytesPerLine = rgb ? geometry.imageWidth + 3 : 2 * geometry.imageWidth + 2;
    return geometry;
}

ApplyPlan planApply(const RegisterShadow& shadow, const SensorFields& fields) {
    ApplyPlan plan{{}, fields, {}, {}, shadow};
    RegisterShadow& after = plan.shadow;
    after.mode.cameraInitialized = 1;
    checkWindow(plan);
    plan.geometry = windowGeometry(plan.fields, after.mode.dataFormat);

    auto& entries = after.entries();
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].pending != 1)
            continue;
        if (registerTable[i].source == ValueSource::FieldStored)
            entries[i].value = low8(plan.fields.byRow[i]);
        rows.push_back(i);
    }
    if (after.mode.userRegisterPending == 1)
        rows.push_back(freeRegisterRow);
    ShadowEntry& reg13 = after.reg(0x13);
    if (after.mode.autoAdjustApplyPending == 1) {
        reg13.value = addMask(reg13.value, autoAdjustBit);
        rows.push_back(registerRow(0x13));
    }
    if (rows.empty())
        return plan;

    // Values are taken only now, after the checks and the whole list.
    plan.writes.reserve(rows.size());
    for (const std::size_t row : rows) {
        if (row == freeRegisterRow) {
            plan.writes.push_back(
                {low8(plan.fields.userRegisterNumber), low8(plan.fields.userRegisterValue)});
            continue;
        }
        const bool fromField = registerTable[row].source == ValueSource::FieldSent;
        plan.writes.push_back({registerTable[row].subAddress,
                               fromField ? low8(plan.fields.byRow[row]) : entries[row].value});
    }
    for (ShadowEntry& entry : entries)
        entry.pending = 0;
    after.mode.userRegisterPending = 0;
    after.mode.autoAdjustApplyPending = 0;
    return plan;
}

} // namespace orvane
