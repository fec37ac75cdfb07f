// Running scripts on the headless panel.
#include "app/cli/script_runner.h"

#include <ios>
#include <istream>
#include <ostream>

#include "app/cli/cli_commands.h"
#include "app/cli/state_report.h"
#include "app/headless/headless_panel.h"
#include "app/program_state.h"

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
    panel_.onAboutBox([this](std::string_view title, std::string_view line) {
        messages_ << "orvane-cli: " << location_ << ": about box " << quotedText(title) << ": "
                  << quotedText(line) << '\n';
    });
}

ScriptRunner::~ScriptRunner() {
    panel_.onMessage(nullptr);
    panel_.onAboutBox(nullptr);
}

namespace {

// A script line is a command of a few words; a longer one is not a script, and reading it whole
// would only fill the memory (a device such as /dev/zero never ends a line).
constexpr std::size_t maxLineBytes = 64 * 1024;
// How much of such a line an error quotes.
constexpr std::size_t quotedBytes = 80;

enum class LineRead { line, end, tooLong, error };

// Reads the next line; at the end of input, on a line past maxLineBytes, or on a read error with
// its reason set, says so. A read error would otherwise look like the end of the script.
LineRead readLine(std::istream& input, std::string& line, std::string& readError) {
    input.exceptions(std::ios::badbit);
    line.clear();
    try {
        for (int c = input.get(); c != std::char_traits<char>::eof(); c = input.get()) {
            if (c == '\n')
                return LineRead::line;
            if (line.size() == maxLineBytes)
                return LineRead::tooLong;
            line.push_back(static_cast<char>(c));
        }
    } catch (const std::ios_base::failure& failure) {
        readError = failure.code().message();
    }
    if (input.bad()) {
        if (readError.empty())
            readError = "read error";
        return LineRead::error;
    }
    return line.empty() ? LineRead::end : LineRead::line;
}

} // namespace

int ScriptRunner::run(std::istream& input) {
    std::string line;
    std::string readError;
    int lineNumber = 0;
    LineRead read;
    while ((read = readLine(input, line, readError)) == LineRead::line) {
        ++lineNumber;
        if (!runLine(line, lineNumber))
            return scriptFailureStatus;
    }
    if (read == LineRead::end)
        return 0;
    location_ = source_ + ":" + std::to_string(lineNumber + 1);
    if (read == LineRead::tooLong) {
        // Control bytes of a line that is no text are shown as '?'.
        std::string start = line.substr(0, quotedBytes);
        for (char& c : start) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = '?';
        }
        fail("a line is longer than " + std::to_string(maxLineBytes) + " bytes: \"" + start +
             "...\"");
        return scriptFailureStatus;
    }
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
    const uint64_t uploads = state_.uploads;
    const std::string error = parsed.command->run(context, parsed.arguments);
    const std::string name(parsed.command->name);
    if (!error.empty())
        return fail(name + ": " + error);
    if (failureBoxShown_)
        return fail(name + ": the panel showed an \"" + std::string(failureBoxCaption) + "\" box");
    if (state_.uploads != uploads && !state_.frameSignal)
        return fail(name + ": the upload read no picture");
    if (panel_.ended())
        endedAtLine_ = lineNumber;
    return true;
}

bool ScriptRunner::fail(std::string_view error) {
    messages_ << "orvane-cli: " << location_ << ": error: " << error << '\n';
    return false;
}

} // namespace orvane
