// Splitting settings texts into their fields.
#include "text/text_fields.h"

#include <charconv>

namespace orvane {
namespace {

constexpr std::string_view blanks = " \t\r";

bool isBlank(char c) {
    return blanks.find(c) != std::string_view::npos;
}

} // namespace

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::optional<std::vector<std::string>> splitWords(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] != '"') {
            while (i < line.size() && !isBlank(line[i]))
                word.push_back(line[i++]);
            words.push_back(std::move(word));
            continue;
        }
        ++i; // the opening quote
        bool closed = false;
        while (i < line.size()) {
            const char c = line[i++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\'))
                word.push_back(line[i++]);
            else
                word.push_back(c);
        }
        if (!closed)
            return std::nullopt;
        words.push_back(std::move(word));
    }
    return words;
}

std::optional<int64_t> wholeNumber(std::string_view text, int64_t least, int64_t most) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
        if (text.front() == '-' || text.front() == '+')
            return std::nullopt;
    }
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < least ||
        value > most)
        return std::nullopt;
    return value;
}

} // namespace orvane
