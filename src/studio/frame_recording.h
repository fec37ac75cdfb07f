// FrameRecording: a sequence of frames into a folder of its own: frame-NNNN.png, frame-NNNN.raw
// (the bytes read) and frame-NNNN.txt (the control values and the time of the frame), every frame
// or one every interval (time-lapse), up to a number of frames or until stopped. Each file is
// written to a temporary name and renamed, so a recording stopped at any moment, or cut short by
// a failed write, leaves only complete files.
#pragma once

#include <QDateTime>
#include <QDir>
#include <QString>

#include "studio_frame.h"
#include <orvane/profile.h>

namespace orvane {

struct RecordingPlan {
    QString parent;        // the folder the recording's own folder is made in
    qint64 intervalMs = 0; // 0: every frame offered; otherwise at most one frame this often
    qint64 frameLimit = 0; // stops by itself after this many frames; 0: until stopped
};

class FrameRecording {
public:
    // Makes recording-YYYYMMDD-HHMMSS (with -2, -3, ... when taken) in plan.parent; false with
    // the reason in error().
    bool start(const RecordingPlan& plan, const QDateTime& now = QDateTime::currentDateTimeUtc());
    // Writes frame if it is due at nowMs (a steady clock); false when the recording has ended
    // (its limit reached, or a write failed: error() names the file and why).
    bool offer(const StudioFrame& frame, const ControlValues& controls, qint64 nowMs,
               const QDateTime& time = QDateTime::currentDateTimeUtc());
    void stop() { active_ = false; }

    bool active() const { return active_; }
    qint64 framesWritten() const { return written_; }
    const RecordingPlan& plan() const { return plan_; }
    const QString& folder() const { return folder_; }
    const QString& error() const { return error_; }

private:
    RecordingPlan plan_;
    QString folder_;
    QString error_;
    bool active_ = false;
    qint64 written_ = 0;
    qint64 lastMs_ = 0;
};

} // namespace orvane
