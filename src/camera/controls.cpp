// The public control list, taken from the control table.
#include "orvane/controls.h"

#include "sensor/control_table.h"

namespace orvane {
namespace {

constexpr std::array<ControlInfo, controlTable.size()> publicControls = [] {
    std::array<ControlInfo, controlTable.size()> infos{};
    for (std::size_t i = 0; i < controlTable.size(); ++i)
        infos[i] = controlTable[i].info;
    return infos;
}();

} // namespace

std::span<const ControlInfo> controlList() {
    return publicControls;
}

const ControlInfo* findControl(std::string_view name) {
    for (const ControlInfo& info : publicControls) {
        if (info.name == name)
            return &info;
    }
    return nullptr;
}

const ControlChoice* findChoice(const ControlInfo& control, std::string_view name) {
    for (const ControlChoice& choice : control.choices) {
        if (choice.name == name)
            return &choice;
    }
    return nullptr;
}

} // namespace orvane
