// Snapshot files.
#include "studio/snapshot_files.h"

#include <QBuffer>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace orvane {
namespace {

bool saveBytes(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = path + ": " + file.errorString();
        return false;
    }
    return true;
}

} // namespace

int nextSnapshotNumber(const QDir& directory) {
    static const QRegularExpression pattern(QStringLiteral("^snapshot-(\\d+)\\.(png|raw)$"));
    int highest = 0;
    const QStringList names =
        directory.entryList({QStringLiteral("snapshot-*")}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch())
            highest = std::max(highest, match.captured(1).toInt());
    }
    return highest + 1;
}

SnapshotResult writeSnapshot(const QDir& directory, const QImage& image, const QByteArray& raw) {
    const QString name =
        QStringLiteral("snapshot-%1").arg(nextSnapshotNumber(directory), 4, 10, QLatin1Char('0'));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return {{}, name + ".png: " + writer.errorString()};
    QString error;
    if (!saveBytes(directory.filePath(name + ".png"), png, error) ||
        !saveBytes(directory.filePath(name + ".raw"), raw, error))
        return {{}, error};
    return {name, {}};
}

} // namespace orvane
