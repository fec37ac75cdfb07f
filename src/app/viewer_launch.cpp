// Viewer lookup and a detached start by double fork, so the panel never leaves a zombie.
#include "app/viewer_launch.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>
#include <system_error>

#include "image/image_files.h"
#include "viewer/viewer_channel.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvane {
namespace {

// Runs in the intermediate child of a possibly multi-threaded process: async-signal-safe calls
// only. Everything it needs is prepared before the fork.
[[noreturn]] void startViewerFromChild(const char* file, char* const argv[],
                                       const sigset_t& emptyMask) {
    setsid(); // the viewer outlives the panel and its terminal's signals
    if (fork() == 0) {
        sigprocmask(SIG_SETMASK, &emptyMask, nullptr);
        std::signal(SIGPIPE, SIG_DFL);
        dup2(STDERR_FILENO, STDOUT_FILENO);
        close_range(STDERR_FILENO + 1, ~0U, 0);
        execve(file, argv, environ);
        _exit(127);
    }
    _exit(0);
}

void startDetached(const std::filesystem::path& program) {
    const std::string file = program.string();
    std::string name{viewerProgramName};
    char* const argv[] = {name.data(), nullptr};
    sigset_t emptyMask;
    sigemptyset(&emptyMask);

    const pid_t child = fork();
    if (child < 0)
        return;
    if (child == 0)
        startViewerFromChild(file.c_str(), argv, emptyMask);
    // The intermediate child ends at once; the viewer is adopted by the system.
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

std::vector<std::filesystem::path>
viewerSearchDirectories(const std::optional<std::filesystem::path>& programDirectory,
                        const std::filesystem::path& workingDirectory,
                        std::optional<std::string_view> pathVariable) {
    std::vector<std::filesystem::path> directories;
    if (programDirectory) {
        directories.push_back(*programDirectory);
        // An installed panel in P/bin finds the viewer in P/libexec/orvane.
        directories.push_back((*programDirectory / installedViewerDirectory).lexically_normal());
    }
    directories.push_back(workingDirectory);
    if (!pathVariable)
        return directories;
    std::string_view rest = *pathVariable;
    for (;;) {
        const std::size_t colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        // Relative entries, and the empty one, are taken from the working directory.
        directories.push_back(entry.empty()
                                  ? workingDirectory
                                  : workingDirectory / std::filesystem::path{std::string{entry}});
        if (colon == std::string_view::npos)
            break;
        rest.remove_prefix(colon + 1);
    }
    return directories;
}

std::optional<std::filesystem::path>
findViewer(std::span<const std::filesystem::path> directories,
           const std::function<bool(const std::filesystem::path&)>& isExecutable) {
    for (const std::filesystem::path& directory : directories) {
        std::filesystem::path candidate = directory / viewerProgramName;
        if (isExecutable(candidate))
            return candidate;
    }
    return std::nullopt;
}

bool isExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

std::optional<std::filesystem::path> runningProgramDirectory() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    return program.parent_path();
}

std::vector<std::filesystem::path> processViewerSearchDirectories() {
    std::error_code error;
    const std::optional<std::filesystem::path> programDirectory = runningProgramDirectory();
    std::filesystem::path workingDirectory = std::filesystem::current_path(error);
    if (error)
        workingDirectory = ".";
    const char* path = std::getenv("PATH");
    return viewerSearchDirectories(programDirectory, workingDirectory,
                                   path != nullptr ? std::optional<std::string_view>{path}
                                                   : std::nullopt);
}

void SpawnViewerLauncher::launchViewer() {
    // A viewer already showing this folder's picture is told to show it again; starting a new
    // process for that costs far more than the upload.
    const ViewerChannelPlace channel = processViewerChannel();
    if (handToRunningViewer(channel.path, std::filesystem::path(std::string(bmpFileName))))
        return;
    const std::vector<std::filesystem::path> directories =
        directories_ ? *directories_ : processViewerSearchDirectories();
    if (const std::optional<std::filesystem::path> viewer =
            findViewer(directories, isExecutableFile))
        startDetached(*viewer);
}

} // namespace orvane
