// StudioWorker: the thread side of the studio. It owns the session (the port and the dialog
// logic) and captures frames back to back; control changes arrive as queued calls and run between
// two frames, never inside one.
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <filesystem>
#include <memory>

#include "studio/studio_frame.h"

namespace orvane {

class PortIo;
class TraceSink;

class StudioWorker final : public QObject {
    Q_OBJECT
public:
    // Frames handed to the window and not yet shown; capture waits beyond this.
    static constexpr int maxFramesInFlight = 2;

    StudioWorker(PortIo& port, TraceSink& trace, std::filesystem::path directory);
    ~StudioWorker() override;

    quint64 framesCaptured() const { return framesCaptured_; }

public slots:
    // The panel's initialisation and Set Register, then frames until stop().
    void start();
    // Runs orvane-cli command lines on the dialog; controlsChanged follows.
    void applyCommands(const QStringList& lines);
    void setRunning(bool running);
    // The window has shown a frame.
    void frameShown();
    void stop();

signals:
    void started(const orvane::ControlValues& controls);
    void startFailed(const QString& reason);
    void frameReady(const orvane::StudioFrame& frame);
    void controlsChanged(const orvane::ControlValues& controls);
    void statusMessage(const QString& text);
    void stopped();

private:
    void captureNext();
    void schedule();

    std::unique_ptr<StudioSession> session_;
    QTimer* timer_ = nullptr;
    LiveFrame frame_;
    quint64 framesCaptured_ = 0;
    int framesInFlight_ = 0;
    bool running_ = true;
    bool active_ = false;
    bool captureFailing_ = false;
};

} // namespace orvane
