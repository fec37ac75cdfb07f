// Loading the viewer's picture file and reloading it when it is rewritten, replaced or created.
#include "watched_image.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace orvane {

WatchedImage::WatchedImage(const QString& filePath, std::chrono::milliseconds settleTime,
                           QObject* parent)
    : QObject(parent), filePath_(QFileInfo(filePath).absoluteFilePath()) {
    settleTimer_.setSingleShot(true);
    settleTimer_.setInterval(settleTime);
    connect(&settleTimer_, &QTimer::timeout, this, &WatchedImage::reload);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &WatchedImage::onFileChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            &WatchedImage::onDirectoryChanged);
    reload();
}

void WatchedImage::setFilePath(const QString& filePath) {
    const QString absolute = QFileInfo(filePath).absoluteFilePath();
    if (absolute != filePath_) {
        const QStringList watched = watcher_.files() + watcher_.directories();
        if (!watched.isEmpty()) {
            watcher_.removePaths(watched);
        }
        filePath_ = absolute;
    }
    reload();
}

void WatchedImage::reload() {
    settleTimer_.stop();
    watchFile();
    loadedStamp_ = currentStamp();

    const QString name = QFileInfo(filePath_).fileName();
    if (!loadedStamp_.exists) {
        image_ = QImage();
        problem_ = tr("No picture: %1 was not found in %2.\nIt appears here after the next upload.")
                       .arg(name, QDir::toNativeSeparators(QFileInfo(filePath_).absolutePath()));
    } else {
        QImageReader reader(filePath_);
        reader.setDecideFormatFromContent(true);
        image_ = reader.read();
        problem_ =
            image_.isNull()
                ? tr("No picture: %1 is not a readable image (%2).").arg(name, reader.errorString())
                : QString();
    }
    emit reloaded();
}

WatchedImage::FileStamp WatchedImage::currentStamp() const {
    const QFileInfo info(filePath_);
    if (!info.exists()) {
        return {};
    }
    return {true, info.size(), info.lastModified()};
}

// A file replaced by a rename drops out of the watcher, and a file that did not exist could never
// be watched, so the file is watched afresh at every load; the folder reveals its creation.
void WatchedImage::watchFile() {
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (!watcher_.directories().contains(folder) && QFileInfo(folder).isDir()) {
        watcher_.addPath(folder);
    }
    if (watcher_.files().contains(filePath_)) {
        watcher_.removePath(filePath_);
    }
    if (QFileInfo::exists(filePath_)) {
        watcher_.addPath(filePath_);
    }
}

void WatchedImage::onFileChanged() {
    settleTimer_.start();
}

// Other files in the folder change too (the raw dump is written just before the picture); only a
// change of this file's own existence, size or time is worth a reload.
void WatchedImage::onDirectoryChanged() {
    if (currentStamp() != loadedStamp_) {
        settleTimer_.start();
    }
}

} // namespace orvane
