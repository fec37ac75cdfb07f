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

#include <deque>
#include <string>

#include "frame_recording.h"
#include "register_snapshot.h"
#include "studio_frame.h"
#include "studio_settings.h"
#include "temporal_noise.h"

namespace orvane {

class ControlsDock;
class FrameMailbox;
class HistogramView;
class PictureView;
class RegisterInspector;

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
    void buildActions();
    void buildMenus();
    void showPixel(std::optional<QPoint> pixel);
    void showSelection();
    void updateFrameFigures(double displayMilliseconds, bool now = false);
    void showAbout();
    void showShortcuts();
    void rememberRecent(const QString& path);
    void rebuildRecentMenu();
    void rebuildProfilesMenu();
    void saveProfileAs();
    QStringList recentFiles() const;
    void restoreWindow(QDockWidget* controlsDock, QDockWidget* histogramDock);

    QDir directory_;
    StudioSettings settings_;
    PictureView* picture_ = nullptr;
    ControlsDock* controls_ = nullptr;
    HistogramView* histogram_ = nullptr;
    RegisterInspector* registers_ = nullptr;
    QLabel* pixelLabel_ = nullptr;
    QLabel* figuresLabel_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QLabel* selectionLabel_ = nullptr;
    QMenu* cameraMenu_ = nullptr;
    std::string device_;  // the simulated module's device string, once scenes are offered
    TemporalNoise noise_; // of the selection, over the last frames
    QLabel* recordingLabel_ = nullptr; // red, with the frame count, while recording
    // A note too long for the status bar, shown whole above the picture for a while.
    QLabel* banner_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* profilesMenu_ = nullptr;
    QAction* keepSettingsAction_ = nullptr;
    QAction* pauseAction_ = nullptr; // checked while paused
    QAction* recordAction_ = nullptr;
    QAction* stopRecordingAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* shortcutsAction_ = nullptr;
    QAction* manualAction_ = nullptr;
    QAction* snapshotAction_ = nullptr;
    QAction* resetAction_ = nullptr;
    QAction* resetDefaultsAction_ = nullptr;
    QAction* fitAction_ = nullptr;
    QAction* actualSizeAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* quitAction_ = nullptr;

    FrameRecording recording_;
    void recordFrame();
    void showRecordingCount();
    StudioFrame frame_;
    ControlValues values_;
    quint64 framesShown_ = 0;
    std::deque<qint64> frameTimes_; // ms of the frames of the last second
    QElapsedTimer clock_;
    qint64 lastFigures_ = -1000;
    double lastDisplayMilliseconds_ = 0;
    std::optional<QPoint> pointer_;
};

} // namespace orvane
