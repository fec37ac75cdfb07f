// Fuzzes the orvane-cli script reader: every line of any bytes is blank, a command with its
// arguments, or a reason, and the control it names resolves or is refused with a reason.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/cli/cli_commands.h"
#include "app/cli/control_names.h"
#include "resources/panel_templates.h"

namespace {

constexpr orvane::ControlKind actionKinds[] = {
    orvane::ControlKind::PushButton, orvane::ControlKind::RadioButton, orvane::ControlKind::Edit,
    orvane::ControlKind::Slider};

void checkLine(const std::string& line) {
    const orvane::ScriptLine script = orvane::parseScriptLine(line);
    if (script.blank)
        return;
    const orvane::ParsedCommand& parsed = script.parsed;
    if ((parsed.command == nullptr) == parsed.error.empty())
        __builtin_trap(); // a command or a reason, never both or neither
    if (parsed.command == nullptr)
        return;
    const orvane::CommandArguments& arguments = parsed.arguments;
    if (arguments.number < 0 || arguments.number > 0xFFFF)
        __builtin_trap();
    if (arguments.control.empty())
        return;
    for (const orvane::ControlKind kind : actionKinds) {
        const orvane::ControlLookup lookup =
            orvane::findControlForAction(orvane::controlPanelTemplate, arguments.control, kind);
        if ((lookup.control == nullptr) == lookup.error.empty() ||
            (lookup.control != nullptr && lookup.control->kind != kind))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(input, line);)
        checkLine(line);
    return 0;
}
