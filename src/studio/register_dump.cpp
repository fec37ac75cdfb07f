#include "register_dump.h"

#include <charconv>
#include <cstdio>

namespace orvane {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == text.npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// 0 to 255, written as 0x hex or decimal.
std::optional<int> byteNumber(std::string_view text) {
    text = trimmed(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > 255)
        return std::nullopt;
    return value;
}

} // namespace

std::string registerDump(const std::vector<RegisterState>& registers, std::string_view date) {
    std::string text = "# Orvane register dump, " + std::string(date) +
                       "\n# register = value, as the camera keeps them (the bus is write-only)\n";
    for (const RegisterState& state : registers) {
        char line[32];
        std::snprintf(line, sizeof line, "0x%02X = 0x%02X  # ", state.address, state.value);
        text += line + std::string(state.name) + '\n';
    }
    return text;
}

RegisterDumpReading readRegisterDump(std::string_view text) {
    RegisterDumpReading reading;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == text.npos ? text.size() : end + 1);
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty())
            continue;
        const auto equals = line.find('=');
        const std::optional<int> address =
            equals == line.npos ? std::nullopt : byteNumber(line.substr(0, equals));
        const std::optional<int> value =
            equals == line.npos ? std::nullopt : byteNumber(line.substr(equals + 1));
        if (!address || !value) {
            reading.problems.push_back("line " + std::to_string(number) + ": \"" +
                                       std::string(line) +
                                       "\" is not REGISTER = VALUE with both 0 to 255");
            continue;
        }
        reading.writes.push_back({*address, *value});
    }
    return reading;
}

} // namespace orvane
