// Snapshot files.
#include "snapshot_files.h"

#include <orvane/dng.h>

#include <QBuffer>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvane {
bool saveBytes(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = path + ": " + file.errorString();
        return false;
    }
    return true;
}

QByteArray pngBytes(const QImage& image, QString& error) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        error = "PNG: " + writer.errorString();
        return {};
    }
    return png;
}

qint64 nextSnapshotNumber(const QDir& directory) {
    static const QRegularExpression pattern(QStringLiteral("^snapshot-(\\d{1,18})\\.(png|raw)$"));
    qint64 highest = 0;
    const QStringList names =
        directory.entryList({QStringLiteral("snapshot-*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch())
            highest = std::max(highest, match.captured(1).toLongLong());
    }
    return highest + 1;
}

QString claimSnapshotName(const QDir& directory, qint64 first) {
    for (qint64 number = first; number <= maxSnapshotNumber; ++number) {
        const QString name = QStringLiteral("snapshot-%1").arg(number, 4, 10, QLatin1Char('0'));
        const QByteArray png = QFile::encodeName(directory.filePath(name + ".png"));
        const QByteArray raw = QFile::encodeName(directory.filePath(name + ".raw"));
        const int pngFile = ::open(png.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (pngFile < 0) {
            if (errno != EEXIST)
                return {};
            continue;
        }
        ::close(pngFile);
        const int rawFile = ::open(raw.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (rawFile < 0) {
            ::unlink(png.constData());
            if (errno != EEXIST)
                return {};
            continue;
        }
        ::close(rawFile);
        return name;
    }
    return {};
}

bool saveMosaicDng(const QString& path, const QByteArray& raw, const FrameInfo& info,
                   const std::string& description, QString& error) {
    if (!info.mosaic)
        return true;
    DngStill still;
    still.mosaic =
        std::span(reinterpret_cast<const uint8_t*>(raw.constData()), std::size_t(raw.size()));
    still.width = info.width & ~1u;
    still.height = std::min(info.height, info.linesRead) & ~1u;
    still.stride = info.bytesPerLine;
    still.time = std::chrono::system_clock::now();
    still.description = description;
    const Status written = writeDng(QFile::encodeName(path).toStdString(), still);
    if (!written)
        error = QString::fromStdString(written.message());
    return bool(written);
}

SnapshotResult writeSnapshot(const QDir& directory, const QImage& image, const QByteArray& raw,
                             const FrameInfo* info, const std::string& description) {
    QString encodeError;
    const QByteArray png = pngBytes(image, encodeError);
    if (png.isEmpty())
        return {{}, encodeError};
    const QString name = claimSnapshotName(directory, nextSnapshotNumber(directory));
    if (name.isEmpty())
        return {{},
                directory.path() + ": no snapshot name could be taken: " +
                    QString::fromLocal8Bit(std::strerror(errno))};
    // Both files or neither: a snapshot that cannot be written whole leaves nothing behind.
    QString error;
    if (!saveBytes(directory.filePath(name + ".png"), png, error) ||
        !saveBytes(directory.filePath(name + ".raw"), raw, error) ||
        (info != nullptr &&
         !saveMosaicDng(directory.filePath(name + ".dng"), raw, *info, description, error))) {
        for (const char* extension : {".png", ".raw", ".dng"})
            QFile::remove(directory.filePath(name + extension));
        return {{}, error};
    }
    return {name, {}};
}

} // namespace orvane
