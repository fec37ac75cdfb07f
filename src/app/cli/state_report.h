// The state report of orvane-cli's show command: every control, the register shadow, the mode
// state, the sliders' change copies and the frame geometry.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

namespace orvane {

class HeadlessPanel;
struct ProgramState;

// The text in double quotes with C escapes, so blanks and line breaks show: "a\n".
std::string quotedText(std::string_view text);

// Writes the report, one item per line, each indented by two blanks.
void printStateReport(std::ostream& out, const HeadlessPanel& panel, const ProgramState& state);

} // namespace orvane
