// Settings profiles: the controls as "name = value" lines with the control list's names, and
// the reading of a profile back into changes. Profiles of earlier studios, written as orvane-cli
// command files, still load.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/status.h"
#include "profile/control_values.h"

namespace orvane {

// A comment header with the date and version, then one line per control in the control list's
// order; choices by their names. A size that cannot be chosen is left out: the window lines
// that follow keep it.
std::string settingsProfile(const ControlValues& controls, std::string_view date,
                            std::string_view version);

struct ProfileReading {
    ControlChanges changes;
    std::vector<std::string> problems; // "line 4: ...", for lines that were left out
};

// The changes a profile asks for, in its order. A leading UTF-8 byte-order mark is skipped.
ProfileReading readSettingsProfile(std::string_view text);

// A profile is a few hundred bytes; a file past this is not one.
constexpr std::size_t maxProfileBytes = 64 * 1024;

// Reads the profile file at path: FileError, saying why, when it is not a regular file (a FIFO is
// refused at once, never waited on), cannot be read, or is longer than maxProfileBytes.
Status readSettingsProfileFile(const std::filesystem::path& path, ProfileReading& reading);

// The changes that would change something, in order: from the first for a control whose value
// differs from current (or that current does not hold) on. The ones before it are in force
// already; the ones after it stay, since a new format or size presets the window they set.
ControlChanges changesFrom(const ControlChanges& changes, const ControlValues& current);

} // namespace orvane
