// Writing the controls as a command file.
#include "studio/settings_profile.h"

#include <array>

#include "app/cli/control_names.h"
#include "resources/panel_templates.h"
#include "studio/command_lines.h"

namespace orvane {
namespace {

// The name a script uses for a control: Group/Caption for an option button, the label's name
// for a slider or edit.
std::string scriptName(const ControlTemplate& control) {
    const std::vector<std::string> names = controlNames(controlPanelTemplate, control);
    return names.empty() ? std::to_string(control.id) : names.back();
}

bool usable(const ControlTemplate& control) {
    return (control.style & (ControlStyle::hidden | ControlStyle::disabled)) == 0;
}

// Edits that are settings; the file name of Save As is not.
constexpr std::array<int, 7> settingEdits{1042, 1044, 1043, 1045, 1031, 1037, 1028};

} // namespace

std::string settingsProfile(const ControlValues& controls, std::string_view date,
                            std::string_view version) {
    std::string text = "# Orvane Studio settings, saved " + std::string(date) +
                       " by orvane-studio " + std::string(version) +
                       "\n# Replay with: orvane-cli FILE\n" + std::string(setRegisterLine) + "\n";
    auto each = [&](ControlKind kind, auto line) {
        for (const ControlTemplate& control : controlPanelTemplate.controls) {
            const ControlValue* value = findValue(controls, control.id);
            if (control.kind == kind && usable(control) && value != nullptr)
                line(control, *value);
        }
    };
    each(ControlKind::RadioButton, [&](const ControlTemplate& control, const ControlValue& value) {
        if (value.checked)
            text += clickLine(scriptName(control)) + "\n";
    });
    each(ControlKind::Slider, [&](const ControlTemplate& control, const ControlValue& value) {
        text += moveLine(scriptName(control), value.position) + "\n";
    });
    for (const int id : settingEdits) {
        const ControlValue* value = findValue(controls, id);
        if (value != nullptr)
            text +=
                typeLine(scriptName(*findControl(controlPanelTemplate, id)), value->text) + "\n";
    }
    return text + std::string(setRegisterLine) + "\n";
}

} // namespace orvane
