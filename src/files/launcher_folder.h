// The working folder the desktop menu's launcher chose, for the front ends to name it.
#pragma once

#include <filesystem>
#include <optional>

namespace orvane {

// ORVANE_WORKING_FOLDER, set by the menu launcher, when it is the same folder as
// workingDirectory; nothing for a program started elsewhere (from a terminal, say).
std::optional<std::filesystem::path>
launcherWorkingFolder(const std::filesystem::path& workingDirectory);

} // namespace orvane
