// Running scripts on the headless panel.
#include "app/cli/script_runner.h"

#include <ios>
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

namespace {

// Reads the next line; false at the end of input, or on a read error with its reason set.
// A read error would otherwise look like the end of the script.
bool readLine(std::istream& input, std::string& line, std::string& readError) {
    input.exceptions(std::ios::badbit);
    try {
        if (std::getline(input, line))
            return true;
    } catch (const std::ios_base::failure& failure) {
        readError = failure.code().message();
    }
    if (input.bad() && readError.empty())
        readError = "read error";
    return false;
}

} // namespace

int ScriptRunner::run(std::istream& input) {
    std::string line;
    std::string readError;
    int lineNumber = 0;
    while (readLine(input, line, readError)) {
        ++lineNumber;
        if (!runLine(line, lineNumber))
            return scriptFailureStatus;
    }
    if (readError.empty())
        return 0;
    location_ = source_ + ":" + std::to_string(lineNumber + 1);
    fail("cannot read the script: " + readError);
    return unreadableScriptStatus;
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
