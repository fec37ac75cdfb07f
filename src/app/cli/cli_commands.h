// The command table of orvane-cli: what each script command is called, what it takes, what it
// does to the panel, and the help generated from it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class HeadlessPanel;
struct ProgramState;

// What a command takes after its name.
enum class ArgumentShape : uint8_t {
    none,            // nothing
    control,         // one control: the rest of the line
    controlAndValue, // a control and a value, one word each
    number,          // one number, decimal or 0x hexadecimal
    file,            // one file name (quoted when it holds blanks)
};

struct CommandArguments {
    std::string control;
    std::string value;
    int64_t number = 0;
};

// What a command works on while it runs.
struct CommandContext {
    HeadlessPanel& panel;
    const ProgramState& state;
    std::ostream& messages;    // standard error: notes and the show report
    std::string_view location; // "file:line" of the command, for its notes
};

// Does the command; returns an empty string when done, or what went wrong.
using CommandHandler = std::string (*)(CommandContext&, const CommandArguments&);

struct CliCommand {
    std::string_view name;
    ArgumentShape shape;
    std::string_view arguments; // as the help shows them
    std::string_view help;
    CommandHandler run;
};

// Every command, in the order the help lists them.
std::span<const CliCommand> cliCommands();

struct ParsedCommand {
    const CliCommand* command = nullptr; // null when the line is not a command
    CommandArguments arguments;
    std::string error;
};

// A non-blank, non-comment line as a command with its arguments.
ParsedCommand parseCommand(std::string_view line);

// Whether the line is blank or a comment ('#' as its first non-blank character).
bool isBlankOrComment(std::string_view line);

// One line of a script as the runner reads it: a final '\r' (a CRLF file) dropped, then blank or
// a comment (nothing to run), or parsed as a command. Touches nothing but the line.
struct ScriptLine {
    bool blank = false;
    ParsedCommand parsed; // when not blank
};
ScriptLine parseScriptLine(std::string_view line);

// The usage, the command list, the naming rules and the controls.
void printHelp(std::ostream& out);

} // namespace orvane
