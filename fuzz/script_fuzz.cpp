// Fuzzes the orvane-cli script reader: every line of any bytes is blank, a command with its
// arguments, or a reason, and the control it names resolves or is refused with a reason.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "app/cli/cli_commands.h"
#include "app/cli/control_names.h"
#include "resources/panel_templates.h"

namespace {

// The kind of control each command that names one acts on.
struct CommandKind {
    std::string_view command;
    orvane::ControlKind kind;
};
constexpr CommandKind commandKinds[] = {
    {"press", orvane::ControlKind::PushButton},
    {"click", orvane::ControlKind::RadioButton},
    {"type", orvane::ControlKind::Edit},
    {"move", orvane::ControlKind::Slider},
};

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
    for (const auto& [command, kind] : commandKinds) {
        if (command != parsed.command->name)
            continue;
        const orvane::ControlLookup lookup =
            orvane::findControlForAction(orvane::controlPanelTemplate, arguments.control, kind);
        if ((lookup.control == nullptr) == lookup.error.empty() ||
            (lookup.control != nullptr && lookup.control->kind != kind))
            __builtin_trap(); // a control of the wanted kind or a reason, never both or neither
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string line; std::getline(input, line);)
        checkLine(line);
    return 0;
}
