// Settings profiles: the controls as "name = value" lines with the control list's names, and the
// reading of a profile back into changes; the values and changes front ends pass around. Profiles
// of earlier studios, written as orvane-cli command files, still load.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/export.h"
#include "orvane/status.h"

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

// A comment header with the date and version, then one line per control in the control list's
// order; choices by their names. A size that cannot be chosen is left out: the window lines
// that follow keep it.
ORVANE_API std::string settingsProfile(const ControlValues& controls, std::string_view date,
                                       std::string_view version);

struct ProfileReading {
    ControlChanges changes;
    std::vector<std::string> problems; // "line 4: ...", for lines that were left out
};

// A profile is a few hundred bytes; a text past this is not one.
constexpr std::size_t maxProfileBytes = 64 * 1024;

// The changes a profile asks for, in its order, and the lines left out. A leading UTF-8
// byte-order mark is skipped. A text longer than maxProfileBytes is refused (InvalidArgument).
ORVANE_API Status readSettingsProfile(std::string_view text, ProfileReading& reading);

// Reads the profile file at path as readSettingsProfile does: FileError, saying why, when it is
// not a regular file (a FIFO is refused at once, never waited on), cannot be read, or is longer
// than maxProfileBytes.
ORVANE_API Status readSettingsProfileFile(const std::filesystem::path& path,
                                          ProfileReading& reading);

// The changes that would change something, in order: from the first for a control whose value
// differs from current (or that current does not hold) on. The ones before it are in force
// already; the ones after it stay, since a new format or size presets the window they set.
ORVANE_API ControlChanges changesFrom(const ControlChanges& changes, const ControlValues& current);

} // namespace orvane
