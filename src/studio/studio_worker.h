// StudioWorker: the thread side of the studio. It owns the Camera and captures frames back to
// back; control changes arrive as queued calls and run between two frames, never inside one, the
// newest of a run of changes to the same controls only.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

#include <orvane/camera.h>

#include "studio/register_dump.h"
#include "studio/studio_frame.h"

namespace orvane {

class StudioWorker final : public QObject {
    Q_OBJECT
public:
    // Frames handed to the window and not yet shown; capture waits beyond this.
    static constexpr int maxFramesInFlight = 2;

    explicit StudioWorker(std::unique_ptr<Camera> camera);
    ~StudioWorker() override;

    quint64 framesCaptured() const { return framesCaptured_; }
    // The Camera, for the thread that owns the worker once it has stopped.
    Camera& camera() { return *camera_; }

public slots:
    // Frames until stop().
    void start();
    // Sets the controls; a refusal comes back as a status message, controlsChanged follows.
    void applySettings(const orvane::ControlChanges& changes);
    void reset(bool keepSettings);
    void writeRegister(int address, int value);
    void setRunning(bool running);
    // The window has shown a frame.
    void frameShown();
    void stop();

signals:
    void started(const orvane::ControlValues& controls);
    void frameReady(const orvane::StudioFrame& frame);
    void controlsChanged(const orvane::ControlValues& controls);
    // The registers after a change, and what the simulated module holds.
    void registersChanged(const orvane::RegisterSnapshot& registers);
    void statusMessage(const QString& text);
    void stopped();

private:
    ControlValues controls() const;
    RegisterSnapshot registerSnapshot() const;
    void report(const Status& status);
    void tellRecordingState();
    void sendPending();
    void captureNext();
    void schedule();

    // Images and raw bytes the captures write into, one more than the window may hold.
    struct FrameSlot {
        QImage image;
        QByteArray raw;
    };
    std::array<FrameSlot, maxFramesInFlight + 2> slots_;
    std::size_t nextSlot_ = 0;

    std::unique_ptr<Camera> camera_;
    // Settings asked for and not yet sent, in the order asked.
    std::vector<ControlChanges> pending_;
    QTimer* timer_ = nullptr;
    QTimer* pendingTimer_ = nullptr; // sends pending_ once the queued changes are in
    quint64 framesCaptured_ = 0;
    int framesInFlight_ = 0;
    bool running_ = true;
    bool active_ = false;
    bool captureFailing_ = false;
    // The recording's state as last told, so a change is told once.
    RecordingState recordingTold_ = RecordingState::Recording;
};

} // namespace orvane
