// The viewer's private channel: its name from display and folder, and a folder only its user
// can reach.
#include "viewer/monitor_channel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvane {

namespace {

constexpr mode_t othersAccess = S_IRWXG | S_IRWXO;

// "" when path is a folder (not a link) that uid owns and nobody else can enter.
QString privateFolderProblem(const QString& path, uid_t uid) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(status.st_mode))
        return QStringLiteral("%1 is not a folder").arg(path);
    if (status.st_uid != uid)
        return QStringLiteral("%1 belongs to uid %2, not %3").arg(path).arg(status.st_uid).arg(uid);
    if ((status.st_mode & othersAccess) != 0)
        return QStringLiteral("%1 can be entered by other users").arg(path);
    return {};
}

// The folder for the channel, or why there is none.
ChannelPlace channelFolder(uid_t uid, const QString& runtimeDir, const QString& tempRoot) {
    if (QDir::isAbsolutePath(runtimeDir) && privateFolderProblem(runtimeDir, uid).isEmpty())
        return ChannelPlace{runtimeDir, {}};
    const QString folder = QDir(tempRoot).filePath(QStringLiteral("orvane-%1").arg(uid));
    // mkdir refuses what is already there, a link included; that is then checked as it is.
    if (::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) != 0 && errno != EEXIST) {
        return ChannelPlace{{},
                            QStringLiteral("cannot create %1: %2")
                                .arg(folder, QString::fromLocal8Bit(std::strerror(errno)))};
    }
    if (const QString problem = privateFolderProblem(folder, uid); !problem.isEmpty())
        return ChannelPlace{{}, problem};
    return ChannelPlace{folder, {}};
}

} // namespace

QString channelDisplay(const QString& x11Display, const QString& waylandDisplay,
                       const QString& platformName) {
    if (!x11Display.isEmpty())
        return x11Display;
    if (!waylandDisplay.isEmpty())
        return waylandDisplay;
    return QStringLiteral("qpa:") + platformName;
}

QString channelName(const QString& display, const QString& workingDirectory) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(display.toUtf8());
    hash.addData(QByteArray(1, '\0'));
    hash.addData(workingDirectory.toUtf8());
    return QStringLiteral("orvane-monitor-") + QString::fromLatin1(hash.result().left(8).toHex());
}

ChannelPlace privateChannelPath(uid_t uid, const QString& runtimeDir, const QString& tempRoot,
                                const QString& name) {
    const ChannelPlace folder = channelFolder(uid, runtimeDir, tempRoot);
    if (folder.path.isEmpty())
        return folder;
    const QString path = QDir(folder.path).filePath(name);
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0 &&
        (!S_ISSOCK(status.st_mode) || status.st_uid != uid)) {
        return ChannelPlace{{}, QStringLiteral("%1 is not a channel of uid %2").arg(path).arg(uid)};
    }
    return ChannelPlace{path, {}};
}

ChannelPlace monitorChannel() {
    const QString display =
        channelDisplay(qEnvironmentVariable("DISPLAY"), qEnvironmentVariable("WAYLAND_DISPLAY"),
                       QGuiApplication::platformName());
    return privateChannelPath(::geteuid(), qEnvironmentVariable("XDG_RUNTIME_DIR"),
                              QDir::tempPath(), channelName(display, QDir::currentPath()));
}

} // namespace orvane
