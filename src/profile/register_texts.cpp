// Register lists and dumps: reading and writing register values as text.
#include "orvane/registers.h"

#include <climits>
#include <cstdio>
#include <optional>

#include "text/text_fields.h"

namespace orvane {
namespace {

std::optional<int> numberIn(std::string_view text, int least, int most) {
    const std::optional<int64_t> number = wholeNumber(trimmed(text), least, most);
    return number ? std::optional<int>(int(*number)) : std::nullopt;
}

} // namespace

Status parseRegisterList(std::string_view text, std::vector<RegisterAssignment>& writes) {
    writes.clear();
    while (!trimmed(text).empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view pair = text.substr(0, comma);
        const std::size_t equals = pair.find('=');
        const std::optional<int> address =
            equals == pair.npos ? std::nullopt : numberIn(pair.substr(0, equals), INT_MIN, INT_MAX);
        const std::optional<int> value = equals == pair.npos
                                             ? std::nullopt
                                             : numberIn(pair.substr(equals + 1), INT_MIN, INT_MAX);
        if (!address || !value)
            return {StatusCode::InvalidArgument,
                    "\"" + std::string(trimmed(pair).substr(0, 80)) +
                        "\" is not ADDRESS=VALUE (for example 0x06=0x90)"};
        writes.push_back({*address, *value});
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return {};
}

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
            equals == line.npos ? std::nullopt : numberIn(line.substr(0, equals), 0, 255);
        const std::optional<int> value =
            equals == line.npos ? std::nullopt : numberIn(line.substr(equals + 1), 0, 255);
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
