// The menu launcher's working folder.
#include "files/launcher_folder.h"

#include <cstdlib>
#include <system_error>

namespace orvane {

std::optional<std::filesystem::path>
launcherWorkingFolder(const std::filesystem::path& workingDirectory) {
    const char* folder = std::getenv("ORVANE_WORKING_FOLDER");
    std::error_code error;
    if (folder == nullptr || *folder == '\0' ||
        !std::filesystem::equivalent(folder, workingDirectory, error))
        return std::nullopt;
    return std::filesystem::path(folder);
}

} // namespace orvane
