// Parallel-port devices by name and kind.
#include "parallel_ports.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>

namespace orvane {
namespace {

// The character-device major number of the kernel's ppdev driver.
constexpr unsigned int ppdevMajor = 99;

bool isParportName(const std::string& name) {
    constexpr std::string_view prefix = "parport";
    return name.size() > prefix.size() && name.starts_with(prefix) &&
           std::all_of(name.begin() + prefix.size(), name.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

} // namespace

std::vector<std::string> parallelPortPaths(const std::filesystem::path& folder) {
    std::vector<std::string> ports;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        struct stat status {};
        const std::string path = entry.path().string();
        if (isParportName(entry.path().filename().string()) && ::stat(path.c_str(), &status) == 0 &&
            S_ISCHR(status.st_mode) && major(status.st_rdev) == ppdevMajor)
            ports.push_back(path);
    }
    std::sort(ports.begin(), ports.end());
    return ports;
}

} // namespace orvane
