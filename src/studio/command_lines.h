// Building orvane-cli command lines: the one language the studio's controls, its settings files
// and orvane-cli share.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The word as splitWords reads it back: in double quotes, with \" and \\, when it is empty or
// holds a blank, a quote or a backslash; as it is otherwise.
std::string quotedWord(std::string_view word);

std::string clickLine(std::string_view control);
std::string moveLine(std::string_view control, int position);
std::string typeLine(std::string_view control, std::string_view text);
std::string pressLine(std::string_view control);

// Runs Set Register, as the studio does after each control change.
inline constexpr std::string_view setRegisterLine = "press &Set Register";

} // namespace orvane
