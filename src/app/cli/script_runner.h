// ScriptRunner: runs orvane-cli's commands on the headless panel, one line at a time, and prints
// every message box the handlers show.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "image/image_files.h"

namespace orvane {

class HeadlessPanel;
struct ProgramState;

// The exit status after a bad line, or a line that showed an "Error Message" box.
constexpr int scriptFailureStatus = 1;

// The exit status when the script cannot be read, at its start or part way through.
constexpr int unreadableScriptStatus = 2;

// The caption of the boxes that say an upload or a Save As failed; a script stops there.
constexpr std::string_view failureBoxCaption = fileErrorCaption;

class ScriptRunner {
public:
    // source names the script in messages: its file name, or "<stdin>". Message boxes are
    // printed on messages and answered with OK while the runner lives.
    ScriptRunner(HeadlessPanel& panel, const ProgramState& state, std::ostream& messages,
                 std::string source);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Runs the lines of input in order, up to its end or the first bad line or failure box.
    // Returns 0, or scriptFailureStatus after either, or unreadableScriptStatus when reading
    // fails (said on messages with the reason; the lines before it have run).
    int run(std::istream& input);

    // Runs one line; false when it is bad or showed an "Error Message" box, which is said on
    // messages with its line number.
    bool runLine(std::string_view line, int lineNumber);

private:
    bool fail(std::string_view error);

    HeadlessPanel& panel_;
    const ProgramState& state_;
    std::ostream& messages_;
    std::string source_;
    std::string location_;         // "source:line" of the line running
    int endedAtLine_ = 0;          // the line that ended the panel, 0 while it is open
    bool failureBoxShown_ = false; // by the line running
};

} // namespace orvane
