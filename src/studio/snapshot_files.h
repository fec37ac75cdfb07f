// Snapshots: the current frame as snapshot-NNNN.png (lossless, through Qt's image writer) and its
// raw bytes as snapshot-NNNN.raw, numbered after the highest number already in the directory.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QString>

namespace orvane {

// The highest NNNN among snapshot-NNNN.png and snapshot-NNNN.raw in directory, plus one; 1 when
// there is none.
int nextSnapshotNumber(const QDir& directory);

struct SnapshotResult {
    QString name;  // "snapshot-0007", empty on failure
    QString error; // why it failed
};

// Writes both files under the next number. Each file is written to a temporary name and renamed,
// so no half-written snapshot is ever seen.
SnapshotResult writeSnapshot(const QDir& directory, const QImage& image, const QByteArray& raw);

} // namespace orvane
