// The viewer's private channel: its name, its folder, and the hand-over of a picture.
#include "viewer_channel.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace orvane {
namespace {

constexpr mode_t othersAccess = S_IRWXG | S_IRWXO;

std::string errnoText() {
    return std::strerror(errno);
}

// "" when path is a folder (not a link) that uid owns and nobody else can enter.
std::string privateFolderProblem(const std::string& path, uid_t uid) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return path + ": " + errnoText();
    if (!S_ISDIR(status.st_mode))
        return path + " is not a folder";
    if (status.st_uid != uid)
        return path + " belongs to uid " + std::to_string(status.st_uid) + ", not " +
               std::to_string(uid);
    if ((status.st_mode & othersAccess) != 0)
        return path + " can be entered by other users";
    return {};
}

ViewerChannelPlace channelFolder(uid_t uid, std::string_view runtimeDir, std::string_view tempRoot,
                                 bool createFolder) {
    const std::string runtime(runtimeDir);
    if (!runtime.empty() && runtime[0] == '/' && privateFolderProblem(runtime, uid).empty())
        return {runtime, {}};
    const std::string folder =
        (std::filesystem::path(std::string(tempRoot)) / ("orvane-" + std::to_string(uid))).string();
    // mkdir refuses what is already there, a link included; that is then checked as it is.
    if (createFolder && ::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST)
        return {{}, "cannot create " + folder + ": " + errnoText()};
    if (const std::string problem = privateFolderProblem(folder, uid); !problem.empty())
        return {{}, problem};
    return {folder, {}};
}

std::string_view environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

// The platform Qt picks from QT_QPA_PLATFORM ("offscreen", "wayland;xcb", "vnc:size=800x600").
std::string_view platformName() {
    std::string_view platform = environmentText("QT_QPA_PLATFORM");
    platform = platform.substr(0, platform.find(';'));
    platform = platform.substr(0, platform.find(':'));
    return platform.empty() ? std::string_view("xcb") : platform;
}

// Qt's temporary folder: TMPDIR or /tmp, with links resolved.
std::string temporaryRoot() {
    const std::string_view tmp = environmentText("TMPDIR");
    const std::filesystem::path root(tmp.empty() ? std::string("/tmp") : std::string(tmp));
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::canonical(root, error);
    return (error ? root.lexically_normal() : canonical).string();
}

} // namespace

std::string viewerChannelDisplay(std::string_view x11Display, std::string_view waylandDisplay,
                                 std::string_view platformName) {
    if (!x11Display.empty())
        return std::string(x11Display);
    if (!waylandDisplay.empty())
        return std::string(waylandDisplay);
    return "qpa:" + std::string(platformName);
}

std::string viewerChannelName(std::string_view display, std::string_view workingDirectory) {
    // FNV-1a over display, a zero byte and the folder: a name, not a secret; the folder is
    // private either way.
    uint64_t hash = 0xcbf29ce484222325ull;
    const auto add = [&hash](std::string_view bytes) {
        for (const char byte : bytes) {
            hash ^= static_cast<unsigned char>(byte);
            hash *= 0x100000001b3ull;
        }
    };
    add(display);
    add(std::string_view("\0", 1));
    add(workingDirectory);
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
    return "orvane-monitor-" + std::string(digits);
}

ViewerChannelPlace privateViewerChannel(uid_t uid, std::string_view runtimeDir,
                                        std::string_view tempRoot, std::string_view name,
                                        bool createFolder) {
    const ViewerChannelPlace folder = channelFolder(uid, runtimeDir, tempRoot, createFolder);
    if (folder.path.empty())
        return folder;
    const std::string path = (std::filesystem::path(folder.path) / std::string(name)).string();
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0 && (!S_ISSOCK(status.st_mode) || status.st_uid != uid))
        return {{}, path + " is not a channel of uid " + std::to_string(uid)};
    return {path, {}};
}

ViewerChannelPlace processViewerChannel() {
    std::error_code error;
    const std::filesystem::path here = std::filesystem::current_path(error);
    if (error)
        return {{}, "no working directory: " + error.message()};
    const std::string display = viewerChannelDisplay(
        environmentText("DISPLAY"), environmentText("WAYLAND_DISPLAY"), platformName());
    return privateViewerChannel(::geteuid(), environmentText("XDG_RUNTIME_DIR"), temporaryRoot(),
                                viewerChannelName(display, here.string()), false);
}

std::string viewerOpenRequest(const std::filesystem::path& file) {
    std::string path = std::filesystem::absolute(file).lexically_normal().string();
    // One request a line: a line break in a name would split it.
    for (char& c : path) {
        if (c == '\n')
            c = ' ';
    }
    return "open " + path + "\n";
}

bool handToRunningViewer(const std::string& channel, const std::filesystem::path& file) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (channel.empty() || channel.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, channel.c_str(), channel.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    // A channel left by a viewer that ended refuses at once; one whose viewer cannot accept now
    // says EAGAIN, and a new viewer is started instead of waiting.
    bool handed = false;
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = viewerOpenRequest(file);
        handed = ::send(socket, request.data(), request.size(), MSG_NOSIGNAL) ==
                 static_cast<ssize_t>(request.size());
    }
    ::close(socket);
    return handed;
}

} // namespace orvane
