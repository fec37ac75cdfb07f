// Where the running viewer listens: one channel per user, display and working directory, in a
// folder only that user can reach.
#pragma once

#include <QString>

#include <sys/types.h>

namespace orvane {

// The display the viewer shows on: DISPLAY, else WAYLAND_DISPLAY, else the Qt platform (for
// offscreen and the like), as "qpa:NAME".
QString channelDisplay(const QString& x11Display, const QString& waylandDisplay,
                       const QString& platformName);

// "orvane-monitor-" and 16 hex digits of a hash of the display and the working directory.
QString channelName(const QString& display, const QString& workingDirectory);

struct ChannelPlace {
    QString path;  // the channel's full path; empty when refused
    QString error; // why there is no channel
};

// name inside runtimeDir when that is an absolute folder of uid's that nobody else can enter,
// else inside tempRoot/orvane-UID, created with mode 0700 when missing. A folder that belongs to
// someone else, that others can enter or that is not a folder, and a channel that is not a
// socket of uid's, are refused.
ChannelPlace privateChannelPath(uid_t uid, const QString& runtimeDir, const QString& tempRoot,
                                const QString& name);

// The channel of this process: its effective user, XDG_RUNTIME_DIR, the temporary folder, the
// display and the working directory. Needs a QGuiApplication.
ChannelPlace monitorChannel();

} // namespace orvane
