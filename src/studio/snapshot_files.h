// Snapshots: the current frame as snapshot-NNNN.png (lossless, through Qt's image writer) and its
// raw bytes as snapshot-NNNN.raw, numbered after the highest number already in the directory.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QString>

#include <orvane/frame.h>

#include <string>

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

// A colour-mosaic frame's raw bytes as a DNG raw still at path with description; true without a
// file for a frame that is not a mosaic; false with "path: reason" in error.
bool saveMosaicDng(const QString& path, const QByteArray& raw, const FrameInfo& info,
                   const std::string& description, QString& error);

// Writes both files under the next number it can claim, and with info of a colour-mosaic frame
// its DNG (NNNN.dng) too. Each file is written to a temporary name and renamed over its claimed
// name, so no half-written snapshot is ever seen; when one cannot be written, none is left.
SnapshotResult writeSnapshot(const QDir& directory, const QImage& image, const QByteArray& raw,
                             const FrameInfo* info = nullptr, const std::string& description = {});

} // namespace orvane
