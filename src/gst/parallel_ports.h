// The parallel-port devices of a folder (/dev): what a device monitor may offer as a camera.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvane {

// The paths named parportN in folder that are the kernel's parallel-port character devices
// (ppdev's major number), sorted; regular files, folders, FIFOs and dangling links are left out.
std::vector<std::string> parallelPortPaths(const std::filesystem::path& folder);

} // namespace orvane
