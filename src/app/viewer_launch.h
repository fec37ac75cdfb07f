// Starting the image viewer "monitor.exe" after an upload, without waiting for it.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orvane {

constexpr std::string_view viewerProgramName = "monitor.exe";
// Where an installed viewer lives, relative to the running program's directory.
constexpr std::string_view installedViewerDirectory = "../libexec/orvane";

// Starts the viewer. Whether it started is not reported; the upload goes on either way.
class ViewerLauncher {
public:
    virtual ~ViewerLauncher() = default;
    virtual void launchViewer() = 0;
};

// Where the viewer is looked for, in order: the directory of the running program, its
// installedViewerDirectory, the working directory, then each PATH entry (an empty entry is the
// working directory). Missing pieces are left out.
std::vector<std::filesystem::path>
viewerSearchDirectories(const std::optional<std::filesystem::path>& programDirectory,
                        const std::filesystem::path& workingDirectory,
                        std::optional<std::string_view> pathVariable);

// The first directory holding an executable "monitor.exe", as a full file name.
std::optional<std::filesystem::path>
findViewer(std::span<const std::filesystem::path> directories,
           const std::function<bool(const std::filesystem::path&)>& isExecutable);

// A regular file this process may execute.
bool isExecutableFile(const std::filesystem::path& path);

// The folder of the running program (/proc/self/exe's), where installed programs find their
// data relative to themselves; nothing when it cannot be told.
std::optional<std::filesystem::path> runningProgramDirectory();

// The search directories of this process: /proc/self/exe's directory and its
// installedViewerDirectory, the working directory, PATH.
std::vector<std::filesystem::path> processViewerSearchDirectories();

// Hands the picture to a viewer already running for this user, display and working directory
// (processViewerChannel); only when none answers starts the viewer as a detached process: no
// arguments, the panel's working directory and
// environment, standard output sent to standard error (standard output carries only the trace),
// no other inherited descriptors. An intermediate child is reaped at once and the viewer is
// adopted by the system, so no zombie is left. Failures are ignored.
class SpawnViewerLauncher final : public ViewerLauncher {
public:
    // Looks in processViewerSearchDirectories() at each launch.
    SpawnViewerLauncher() = default;
    // Looks only in these directories.
    explicit SpawnViewerLauncher(std::vector<std::filesystem::path> directories)
        : directories_(std::move(directories)) {}

    void launchViewer() override;

private:
    std::optional<std::vector<std::filesystem::path>> directories_;
};

} // namespace orvane
