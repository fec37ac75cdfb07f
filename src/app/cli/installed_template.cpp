// Copying the installed "bmphead24" into a working folder that lacks one.
#include "app/cli/installed_template.h"

#include <system_error>

#include "image/image_files.h"
#include "image/viewer_launch.h"

namespace orvane {

bool provideBmpTemplate(const std::filesystem::path& workingDirectory,
                        const std::filesystem::path& programDirectory) {
    std::error_code error;
    const std::filesystem::path target = workingDirectory / bmpTemplateFileName;
    if (std::filesystem::exists(target, error))
        return true;
    const std::filesystem::path installed =
        programDirectory / installedTemplateDirectory / bmpTemplateFileName;
    return std::filesystem::copy_file(installed, target, error);
}

bool provideBmpTemplateHere() {
    const std::optional<std::filesystem::path> programDirectory = runningProgramDirectory();
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return programDirectory && !error && provideBmpTemplate(here, *programDirectory);
}

} // namespace orvane
