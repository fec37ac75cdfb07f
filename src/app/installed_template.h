// The installed "bmphead24" template for a working folder that has none.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string_view>

namespace orvane {

// Where the installed template lives, relative to the running program's directory.
constexpr std::string_view installedTemplateDirectory = "../share/orvane";

// Copies programDirectory/installedTemplateDirectory/bmphead24 into workingDirectory when
// workingDirectory holds no "bmphead24". True when the working directory has one afterwards.
bool provideBmpTemplate(const std::filesystem::path& workingDirectory,
                        const std::filesystem::path& programDirectory);

// provideBmpTemplate for this process: the current directory and /proc/self/exe's directory.
// A copy is said on messages, since the folder then holds a file the user did not put there.
bool provideBmpTemplateHere(std::ostream& messages);

} // namespace orvane
