// Copying the installed "bmphead24" into a working folder that lacks one.
#include "app/installed_template.h"

#include <ostream>
#include <system_error>

#include "app/viewer_launch.h"
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

bool provideBmpTemplateHere(std::ostream& messages) {
    const std::optional<std::filesystem::path> programDirectory = runningProgramDirectory();
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    if (!programDirectory || error)
        return false;
    if (std::filesystem::exists(here / bmpTemplateFileName, error))
        return true;
    if (!provideBmpTemplate(here, *programDirectory))
        return false;
    messages << "orvane: this folder had no " << bmpTemplateFileName
             << "; copied in the installed template\n";
    return true;
}

} // namespace orvane
