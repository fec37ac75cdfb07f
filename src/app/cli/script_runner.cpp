// Running scripts on the headless panel.
#include "app/cli/script_runner.h"

#include <istream>
#include <ostream>

#include "app/cli/cli_commands.h"
#include "app/cli/state_report.h"
#include "app/headless/headless_panel.h"

namespace orvane {

ScriptRunner::ScriptRunner(HeadlessPanel& panel, const ProgramState& state, std::ostream& messages,
                           std::string source)
    : panel_(panel), state_(state), messages_(messages), source_(std::move(source)) {
    panel_.onMessage([this](const RecordedMessage& message) {
        messages_ << "orvane-cli: " << location_ << ": message box " << quotedText(message.caption)
                  << ": " << quotedText(message.text) << '\n';
        if (message.caption == failureBoxCaption)
            failureBoxShown_ = true;
    });
}

ScriptRunner::~ScriptRunner() {
    panel_.onMessage(nullptr);
}

int ScriptRunner::run(std::istream& input) {
    std::string line;
    int lineNumber = 0;
    while (std::getline(input, line)) {
        ++lineNumber;
        if (!runLine(line, lineNumber))
            return scriptFailureStatus;
    }
    return 0;
}

bool ScriptRunner::runLine(std::string_view line, int lineNumber) {
    const ScriptLine script = parseScriptLine(line);
    if (script.blank)
        return true;
    location_ = source_ + ":" + std::to_string(lineNumber);
    if (endedAtLine_ != 0) {
        return fail("the panel ended at line " + std::to_string(endedAtLine_) +
                    "; nothing can follow E&xit");
    }
    const ParsedCommand& parsed = script.parsed;
    if (parsed.command == nullptr)
        return fail(parsed.error);
    CommandContext context{panel_, state_, messages_, location_};
    failureBoxShown_ = false;
    const std::string error = parsed.command->run(context, parsed.arguments);
    const std::string name(parsed.command->name);
    if (!error.empty())
        return fail(name + ": " + error);
    if (failureBoxShown_)
        return fail(name + ": the panel showed an \"" + std::string(failureBoxCaption) + "\" box");
    if (panel_.ended())
        endedAtLine_ = lineNumber;
    return true;
}

bool ScriptRunner::fail(std::string_view error) {
    messages_ << "orvane-cli: " << location_ << ": error: " << error << '\n';
    return false;
}

} // namespace orvane
