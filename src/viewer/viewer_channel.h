// The running viewer's private channel, named and placed alike by the viewer, which listens on
// it, and by the panel, which hands it each upload's picture so that no new process starts.
// One channel per user, display and working directory, in a folder only that user can enter.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// DISPLAY, else WAYLAND_DISPLAY, else the Qt platform (offscreen and the like) as "qpa:NAME".
std::string viewerChannelDisplay(std::string_view x11Display, std::string_view waylandDisplay,
                                 std::string_view platformName);

// "orvane-monitor-" and 16 hex digits of a hash of the display and the working directory.
std::string viewerChannelName(std::string_view display, std::string_view workingDirectory);

struct ViewerChannelPlace {
    std::string path;  // the channel's full path; empty when refused
    std::string error; // why there is no channel
};

// name inside runtimeDir when that is an absolute folder of uid's that nobody else can enter,
// else inside tempRoot/orvane-UID (created with mode 0700 when missing and createFolder is set).
// A folder that belongs to someone else, that others can enter or that is not a folder, and a
// channel that is not a socket of uid's, are refused.
ViewerChannelPlace privateViewerChannel(uid_t uid, std::string_view runtimeDir,
                                        std::string_view tempRoot, std::string_view name,
                                        bool createFolder);

// The channel a viewer started by this process would listen on: its effective user,
// XDG_RUNTIME_DIR, TMPDIR, the display variables and QT_QPA_PLATFORM, the working directory.
// Nothing is created.
ViewerChannelPlace processViewerChannel();

// The request that makes the viewer show file: "open " and its absolute path.
std::string viewerOpenRequest(const std::filesystem::path& file);

// Hands file to the viewer listening on channel; true when one took the request. Never waits
// for a viewer that is not there, or for one too busy to accept.
bool handToRunningViewer(const std::string& channel, const std::filesystem::path& file);

} // namespace orvane
