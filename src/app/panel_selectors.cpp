// Option selectors on the panel: the plan's refusal as a message box, its presets into the
// window edits, and the radio buttons each selection unchecks or checks.
#include "app/panel_selectors.h"

#include <array>

#include "resources/control_ids.h"
#include "app/window_edits.h"

namespace orvane {
namespace {

// The buttons a selection moves besides the one clicked.
struct PartnerRow {
    Selector selector;
    std::array<int, 3> unchecks; // 0 = none
    int checks;                  // 0 = none
};

constexpr std::array<PartnerRow, 14> partnerRows{{
    {Selector::MirrorDisable, {ControlId::mirrorEnable, 0, 0}, 0},
    {Selector::MirrorEnable, {ControlId::mirrorDisable, 0, 0}, 0},
    {Selector::Cif, {ControlId::qcif, 0, 0}, 0},
    {Selector::Qcif, {ControlId::cif, 0, 0}, 0},
    {Selector::Yuv, {ControlId::rgb, ControlId::qcif, 0}, ControlId::cif},
    {Selector::Rgb, {ControlId::yuv, ControlId::qcif, ControlId::cif}, 0},
    {Selector::SixteenBits, {ControlId::eightBits, 0, 0}, 0},
    {Selector::EightBits, {ControlId::sixteenBits, 0, 0}, 0},
    {Selector::AutoEnable, {ControlId::autoDisable, 0, 0}, 0},
    {Selector::AutoDisable, {ControlId::autoEnable, 0, 0}, 0},
    {Selector::Gain2x, {ControlId::gainNormal, 0, 0}, 0},
    {Selector::GainNormal, {ControlId::gain2x, 0, 0}, 0},
    {Selector::RedIncrease, {ControlId::redDecrease, 0, 0}, 0},
    {Selector::RedDecrease, {ControlId::redIncrease, 0, 0}, 0},
}};

} // namespace

void runSelector(Selector selector, CameraDevice& device, Panel& panel) {
    const SelectorPlan plan = planSelector(selector, device.shadow);
    if (plan.refusal != SelectorRefusal::None) {
        panel.messageBox(plan.text, improperSelectionCaption);
        // Only the initialisation refusal takes the click back.
        if (plan.refusal == SelectorRefusal::CameraNotInitialized)
            panel.setChecked(ControlId::autoDisable, false);
        return;
    }
    device.keep(plan);
    for (const PartnerRow& row : partnerRows) {
        if (row.selector != selector)
            continue;
        for (const int id : row.unchecks) {
            if (id != 0)
                panel.setChecked(id, false);
        }
        if (row.checks != 0)
            panel.setChecked(row.checks, true);
    }
    for (const WindowPreset* preset : plan.windows) {
        if (preset != nullptr)
            writeWindowPreset(panel, *preset);
    }
}

} // namespace orvane
