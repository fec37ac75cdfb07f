// StudioWindow: the main window of orvane-studio. The picture in the centre, the controls and
// the histogram in docks, the frame figures in the status bar. It never touches the camera: it
// asks the worker for changes and shows what comes back.
#pragma once

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStringList>

#include <string>

#include "frame_recording.h"
#include "register_snapshot.h"
#include "studio_frame.h"
#include "studio_menus.h"
#include "studio_settings.h"

namespace orvane {

class ControlsDock;
class FrameMailbox;
class HistogramView;
class PictureView;
class FrameFigures;
class RegisterInspector;
class StudioProfiles;

class StudioWindow final : public QMainWindow {
    Q_OBJECT
public:
    // Snapshots go to directory.
    explicit StudioWindow(QDir directory, QWidget* parent = nullptr);
    ~StudioWindow() override;

    quint64 framesShown() const { return framesShown_; }
    PictureView* pictureView() const { return picture_; }
    ControlsDock* controlsDock() const { return controls_; }
    HistogramView* histogramView() const { return histogram_; }
    RegisterInspector* registerInspector() const { return registers_; }
    const StudioFrame& currentFrame() const { return frame_; }
    const ControlValues& controlValues() const { return values_; }

    // Snapshot of the current frame; the name, or empty with the reason in the status bar.
    QString takeSnapshot();
    // The controls as a settings profile at path; false with the reason in the status bar.
    bool saveSettings(const QString& path);
    // Asks the worker for the settings of a profile (or an earlier studio's command file).
    bool openSettings(const QString& path);
    // Records the frames shown from now on as plan says; false with the reason in the status bar.
    bool startRecording(const RecordingPlan& plan);
    void stopRecording();
    const FrameRecording& recording() const { return recording_; }

    // The camera has started with values: they are shown, and the settings the last session
    // ended with are asked for on top of them unless fromDefaults or the user chose otherwise.
    void startWith(const ControlValues& values, bool fromDefaults);
    // The camera is the simulated module opened with device: the Camera menu offers its scenes
    // and light levels.
    void offerScenes(const QString& device);
    // Where named profiles are kept: a folder beside the studio's own settings.
    QString profilesFolder() const;

    // Shows what the worker's mailbox holds: a frame, which gives the one shown before back, or
    // the first rows of one still arriving.
    void takeFrame(FrameMailbox& mailbox);

public slots:
    void showFrame(const orvane::StudioFrame& frame);
    void showControls(const orvane::ControlValues& values);
    void showRegisters(const orvane::RegisterSnapshot& registers);
    void showStatus(const QString& text);

signals:
    void settingsRequested(const orvane::ControlChanges& changes);
    // keepSettings: the current settings go to the sensor again after its reset.
    void resetRequested(bool keepSettings);
    void registerWriteRequested(int address, int value);
    void runningChanged(bool running);
    // Another simulated module: the device string of the scene or light chosen.
    void deviceRequested(const QString& device);
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void connectActions();
    void showAbout();
    void restoreWindow(QDockWidget* controlsDock, QDockWidget* histogramDock);
    void recordFrame();
    void showRecordingCount();

    QDir directory_;
    StudioSettings settings_;
    PictureView* picture_ = nullptr;
    ControlsDock* controls_ = nullptr;
    HistogramView* histogram_ = nullptr;
    RegisterInspector* registers_ = nullptr;
    FrameFigures* figures_ = nullptr;
    StudioProfiles* profiles_ = nullptr;
    StudioActions actions_{};
    QMenu* cameraMenu_ = nullptr;
    std::string device_; // the simulated module's device string, once scenes are offered
    QLabel* recordingLabel_ = nullptr; // red, with the frame count, while recording
    // A note too long for the status bar, shown whole above the picture for a while.
    QLabel* banner_ = nullptr;

    FrameRecording recording_;
    StudioFrame frame_;
    ControlValues values_;
    quint64 framesShown_ = 0;
    QElapsedTimer clock_; // since the window opened, for the recording's frame times
};

} // namespace orvane
