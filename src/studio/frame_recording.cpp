// Recording frames into a folder: pictures, raw bytes and the values of each frame.
#include "frame_recording.h"

#include <orvane/camera.h>

#include "snapshot_files.h"
#include <orvane/profile.h>

namespace orvane {

bool FrameRecording::start(const RecordingPlan& plan, const QDateTime& now) {
    plan_ = plan;
    written_ = 0;
    error_.clear();
    active_ = false;
    const QDir parent(plan.parent);
    // A folder typed that is not there yet is made, as a save dialog would.
    if (!parent.exists() && !QDir().mkpath(plan.parent)) {
        error_ = plan.parent + ": the folder cannot be made";
        return false;
    }
    const QString base =
        QStringLiteral("recording-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString name = attempt == 1 ? base : base + QStringLiteral("-%1").arg(attempt);
        // mkdir fails for a name that exists, so two recordings never share a folder.
        if (parent.mkdir(name)) {
            folder_ = parent.filePath(name);
            active_ = true;
            return true;
        }
        if (!parent.exists(name)) {
            error_ = parent.filePath(name) + ": the folder cannot be made";
            return false;
        }
    }
    error_ = plan.parent + ": no free recording folder name";
    return false;
}

bool FrameRecording::offer(const StudioFrame& frame, const ControlValues& controls, qint64 nowMs,
                           const QDateTime& time) {
    if (!active_)
        return false;
    if (plan_.intervalMs > 0 && written_ > 0 && nowMs - lastMs_ < plan_.intervalMs)
        return true;
    const QString name = QDir(folder_).filePath(
        QStringLiteral("frame-%1").arg(written_ + 1, 4, 10, QLatin1Char('0')));
    const QString stamp = time.toString(Qt::ISODateWithMs);
    const std::string sidecar =
        settingsProfile(controls, stamp.toStdString(), version()) + "# frame " +
        std::to_string(frame.number) + " of the session, " + std::to_string(frame.image.width()) +
        " x " + std::to_string(frame.image.height()) + (frame.info.mosaic ? " rgb" : " yuv") + "\n";
    const QByteArray png = pngBytes(frame.image, error_);
    const bool written =
        !png.isEmpty() && saveBytes(name + QStringLiteral(".png"), png, error_) &&
        saveBytes(name + QStringLiteral(".raw"), frame.raw, error_) &&
        saveBytes(name + QStringLiteral(".txt"),
                  QByteArray(sidecar.data(), qsizetype(sidecar.size())), error_) &&
        saveMosaicDng(name + QStringLiteral(".dng"), frame.raw, frame.info, sidecar, error_);
    if (!written) {
        // The frame's files that were written go too: the recording holds whole frames only.
        for (const char* extension : {".png", ".raw", ".txt", ".dng"})
            QFile::remove(name + QLatin1String(extension));
        active_ = false;
        return false;
    }
    ++written_;
    lastMs_ = nowMs;
    if (plan_.frameLimit > 0 && written_ >= plan_.frameLimit)
        active_ = false;
    return active_;
}

} // namespace orvane
