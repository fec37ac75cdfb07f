// The plain-text fields every reader of a settings text splits its lines into: blanks trimmed,
// words (a quoted word may hold blanks), and whole numbers in decimal or 0x hexadecimal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// text without its leading and trailing blanks (space, tab, carriage return).
std::string_view trimmed(std::string_view text);

// The words of line, split at blanks. A word in double quotes may hold blanks, \" and \\ inside
// it stand for " and \. Nothing when a quoted word is not closed.
std::optional<std::vector<std::string>> splitWords(std::string_view line);

// The whole of text (no blanks) as a number: decimal with an optional '-', or hexadecimal after
// 0x or 0X. Nothing for anything else, or a number outside [least, most].
std::optional<int64_t> wholeNumber(std::string_view text, int64_t least = INT64_MIN,
                                   int64_t most = INT64_MAX);

} // namespace orvane
