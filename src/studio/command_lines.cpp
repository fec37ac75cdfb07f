// orvane-cli command lines.
#include "studio/command_lines.h"

namespace orvane {

std::string quotedWord(std::string_view word) {
    if (!word.empty() && word.find_first_of(" \t\"\\") == std::string_view::npos)
        return std::string(word);
    std::string quoted = "\"";
    for (const char c : word) {
        if (c == '"' || c == '\\')
            quoted.push_back('\\');
        quoted.push_back(c);
    }
    return quoted + '"';
}

std::string clickLine(std::string_view control) {
    return "click " + std::string(control);
}

std::string moveLine(std::string_view control, int position) {
    return "move " + quotedWord(control) + " " + std::to_string(position);
}

std::string typeLine(std::string_view control, std::string_view text) {
    return "type " + quotedWord(control) + " " + quotedWord(text);
}

std::string pressLine(std::string_view control) {
    return "press " + std::string(control);
}

} // namespace orvane
