// Snapshots: the current frame as snapshot-NNNN.png (lossless, through Qt's image writer) and its
// raw bytes as snapshot-NNNN.raw, numbered after the highest number already in the directory.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QString>

namespace orvane {

// Writes bytes to a temporary name beside path and renames it over path, so path is never seen
// half written; false with "path: reason" in error.
bool saveBytes(const QString& path, const QByteArray& bytes, QString& error);

// The image as a PNG file's bytes; empty with the reason in error.
QByteArray pngBytes(const QImage& image, QString& error);

// The highest NNNN among snapshot-NNNN.png and snapshot-NNNN.raw in directory, plus one; 1 when
// there is none. Numbers never wrap: they go on past 9999 with more digits.
qint64 nextSnapshotNumber(const QDir& directory);

// Numbers stop here rather than wrap.
constexpr qint64 maxSnapshotNumber = 999'999'999'999'999'999;

// Takes the first free number from first on: creates snapshot-NNNN.png and snapshot-NNNN.raw
// empty and exclusively, so another studio in the same folder takes another number. Empty (errno
// set) when no number could be taken.
QString claimSnapshotName(const QDir& directory, qint64 first);

struct SnapshotResult {
    QString name;  // "snapshot-0007", empty on failure
    QString error; // why it failed
};

// Writes both files under the next number it can claim. Each file is written to a temporary name
// and renamed over its claimed name, so no half-written snapshot is ever seen; when either cannot
// be written, neither is left.
SnapshotResult writeSnapshot(const QDir& directory, const QImage& image, const QByteArray& raw);

} // namespace orvane
