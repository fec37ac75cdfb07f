// The viewer's private channel, as the panel finds it too: the library's, in Qt's terms.
#include "monitor_channel.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <unistd.h>

#include "viewer_channel.h"

namespace orvane {

QString channelDisplay(const QString& x11Display, const QString& waylandDisplay,
                       const QString& platformName) {
    return QString::fromStdString(viewerChannelDisplay(
        x11Display.toStdString(), waylandDisplay.toStdString(), platformName.toStdString()));
}

QString channelName(const QString& display, const QString& workingDirectory) {
    return QString::fromStdString(viewerChannelName(
        display.toStdString(), QFile::encodeName(workingDirectory).toStdString()));
}

ChannelPlace privateChannelPath(uid_t uid, const QString& runtimeDir, const QString& tempRoot,
                                const QString& name) {
    const ViewerChannelPlace place =
        privateViewerChannel(uid, QFile::encodeName(runtimeDir).toStdString(),
                             QFile::encodeName(tempRoot).toStdString(), name.toStdString(), true);
    return ChannelPlace{QFile::decodeName(QByteArray::fromStdString(place.path)),
                        QString::fromLocal8Bit(QByteArray::fromStdString(place.error))};
}

ChannelPlace monitorChannel() {
    const QString display =
        channelDisplay(qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"),
                       QGuiApplication::platformName());
    return privateChannelPath(::geteuid(), qEnvironmentVariable("XDG_RUNTIME_DIR"),
                              QDir::tempPath(), channelName(display, QDir::currentPath()));
}

} // namespace orvane
