// The camera's controls as the front ends pass them (the studio between its threads, profiles to
// the camera): the values in force, and the changes the user asks for, by the control table's
// names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

struct ControlValue {
    std::string_view name; // a name of the library's control list, which lives for the program
    int32_t value;
    friend bool operator==(const ControlValue&, const ControlValue&) = default;
};
using ControlValues = std::vector<ControlValue>;

struct ControlChange {
    std::string name;
    int32_t value;
    friend bool operator==(const ControlChange&, const ControlChange&) = default;
};
using ControlChanges = std::vector<ControlChange>;

// The value of the control named name, if values hold it.
inline std::optional<int32_t> valueOf(const ControlValues& values, std::string_view name) {
    for (const ControlValue& value : values) {
        if (value.name == name)
            return value.value;
    }
    return std::nullopt;
}

} // namespace orvane
