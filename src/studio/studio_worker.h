// StudioWorker: the thread side of the studio. It owns the Camera and captures frames back to
// back into the window's mailbox; control changes arrive as queued calls and run between two
// frames, never inside one, the newest of a run of changes to the same controls only. A slow
// frame's first rows go to the mailbox as they arrive.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <orvane/camera.h>

#include "frame_mailbox.h"
#include "register_snapshot.h"
#include "studio_frame.h"

namespace orvane {

// How long the worker waits before it tries again after a frame read from nothing.
constexpr int noSignalRetryMilliseconds = 250;

class StudioWorker final : public QObject {
    Q_OBJECT
public:
    explicit StudioWorker(std::unique_ptr<Camera> camera);
    ~StudioWorker() override;

    quint64 framesCaptured() const { return framesCaptured_; }
    // Where the frames go; its watch() says when one is there.
    FrameMailbox& mailbox() { return mailbox_; }
    // The Camera, for the thread that owns the worker once it has stopped.
    Camera& camera() { return *camera_; }
    // How reopen() opens another camera; without one, reopen() does nothing.
    using CameraOpener = std::function<std::unique_ptr<Camera>(const std::string&, Status&)>;
    void setOpener(CameraOpener opener) { opener_ = std::move(opener); }

public slots:
    // Frames until stop().
    void start();
    // Sets the controls; a refusal comes back as a status message, controlsChanged follows.
    void applySettings(const orvane::ControlChanges& changes);
    void reset(bool keepSettings);
    void writeRegister(int address, int value);
    // Opens device in place of the camera in use, with the same settings.
    void reopen(const QString& device);
    void setRunning(bool running);
    void stop();

signals:
    void started(const orvane::ControlValues& controls);
    void controlsChanged(const orvane::ControlValues& controls);
    // The registers after a change, and what the simulated module holds.
    void registersChanged(const orvane::RegisterSnapshot& registers);
    void statusMessage(const QString& text);
    void stopped();

private:
    ControlValues controls() const;
    // Also notes the module registers sent, so a frame tells only a change of them.
    RegisterSnapshot registerSnapshot();
    void report(const Status& status);
    void tellRecordingState();
    void sendPending();
    void captureNext();
    void schedule(int afterMilliseconds = 0);

    std::unique_ptr<Camera> camera_;
    CameraOpener opener_;
    std::array<uint8_t, 256> moduleShown_{};
    FrameMailbox mailbox_;
    // Settings asked for and not yet sent, in the order asked.
    std::vector<ControlChanges> pending_;
    QTimer* timer_ = nullptr;
    QTimer* pendingTimer_ = nullptr; // sends pending_ once the queued changes are in
    quint64 framesCaptured_ = 0;
    bool running_ = true;
    bool active_ = false;
    bool captureFailing_ = false;
    QString noSignalTold_; // the no-signal text last told, empty while frames are pictures
    // The recording's state as last told, so a change is told once.
    RecordingState recordingTold_ = RecordingState::Recording;
};

} // namespace orvane
