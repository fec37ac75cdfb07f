// Parsing "0x06=0x90,0x05=0x20".
#include "register_list.h"

#include <charconv>

namespace orvane {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool number(std::string_view text, int& value) {
    text = trimmed(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

} // namespace

std::string parseRegisterList(std::string_view text, std::vector<RegisterAssignment>& writes) {
    writes.clear();
    while (!trimmed(text).empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view pair = text.substr(0, comma);
        const std::size_t equals = pair.find('=');
        RegisterAssignment write{};
        if (equals == std::string_view::npos || !number(pair.substr(0, equals), write.address) ||
            !number(pair.substr(equals + 1), write.value))
            return "\"" + std::string(trimmed(pair).substr(0, 80)) +
                   "\" is not ADDRESS=VALUE (for example 0x06=0x90)";
        writes.push_back(write);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return {};
}

} // namespace orvane
