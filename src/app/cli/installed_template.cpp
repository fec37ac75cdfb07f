// Copying the installed "bmphead24" into a working folder that lacks one.
#include "app/cli/installed_template.h"

#include <system_error>

#include "image/image_files.h"

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
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return false;
    const std::filesystem::path here = std::filesystem::current_path(error);
    return !error && provideBmpTemplate(here, program.parent_path());
}

} // namespace orvane
