// The studio's main window: its layout, and the wiring of its actions, docks and notes.
#include "studio_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <orvane/camera.h>
#include <orvane/profile.h>

#include <cstdio>

#include "controls_dock.h"
#include "frame_figures.h"
#include "frame_mailbox.h"
#include "histogram_view.h"
#include "picture_view.h"
#include "record_dialog.h"
#include "register_inspector.h"
#include "scene_choice.h"
#include "snapshot_files.h"
#include "studio_profiles.h"

namespace orvane {
namespace {

// What a saved geometry or window state takes at most; anything longer was not saved here.
constexpr qsizetype maxGeometryBytes = 1024;
constexpr qsizetype maxWindowStateBytes = 64 * 1024;
constexpr int noteTimeoutMs = 8000;
constexpr QSize defaultSize(1180, 760);
const QString settingsFilter = QStringLiteral("Orvane settings (*.txt *.orvane);;All files (*)");

QString settingsKey(const char* key) {
    return QString::fromLatin1(key);
}

// A dock of window holding widget, its toggle in the View menu named menuText.
QDockWidget* addDock(QMainWindow& window, QWidget* widget, const QString& title, const char* name,
                     const QString& menuText, Qt::DockWidgetArea area) {
    auto* dock = new QDockWidget(title, &window);
    dock->setObjectName(QString::fromLatin1(name));
    dock->setWidget(widget);
    window.addDockWidget(area, dock);
    dock->toggleViewAction()->setText(menuText);
    return dock;
}

} // namespace

StudioWindow::StudioWindow(QDir directory, QWidget* parent)
    : QMainWindow(parent), directory_(std::move(directory)) {
    setWindowTitle(QStringLiteral("Orvane Studio"));
    auto* centre = new QWidget(this);
    auto* centreLayout = new QVBoxLayout(centre);
    centreLayout->setContentsMargins(0, 0, 0, 0);
    centreLayout->setSpacing(0);
    banner_ = new QLabel(centre);
    banner_->setWordWrap(true);
    banner_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    banner_->setMargin(6);
    banner_->setAutoFillBackground(true);
    banner_->setBackgroundRole(QPalette::ToolTipBase);
    banner_->setForegroundRole(QPalette::ToolTipText);
    banner_->hide();
    picture_ = new PictureView(centre);
    centreLayout->addWidget(banner_);
    centreLayout->addWidget(picture_, 1);
    setCentralWidget(centre);

    controls_ = new ControlsDock;
    auto* scroll = new QScrollArea;
    scroll->setWidget(controls_);
    scroll->setWidgetResizable(true);
    QDockWidget* controlsDock = addDock(*this, scroll, QStringLiteral("Controls"), "controls",
                                        QStringLiteral("C&ontrols"), Qt::RightDockWidgetArea);
    histogram_ = new HistogramView;
    QDockWidget* histogramDock =
        addDock(*this, histogram_, QStringLiteral("Histogram"), "histogram",
                QStringLiteral("&Histogram"), Qt::RightDockWidgetArea);
    // The register inspector, for bring-up: hidden until asked for in the View menu.
    registers_ = new RegisterInspector;
    QDockWidget* registersDock =
        addDock(*this, registers_, QStringLiteral("Registers"), "registers",
                QStringLiteral("&Registers"), Qt::BottomDockWidgetArea);
    registersDock->hide();
    // Shown from the menu, it takes the keys: arrows to a value, then type the new one.
    connect(registersDock->toggleViewAction(), &QAction::triggered, registers_, [this](bool shown) {
        if (shown)
            registers_->setFocus();
    });
    connect(registers_, &RegisterInspector::registerWriteRequested, this,
            &StudioWindow::registerWriteRequested);
    connect(registers_, &RegisterInspector::note, this, &StudioWindow::showStatus);

    recordingLabel_ = new QLabel(this);
    recordingLabel_->setStyleSheet(
        QStringLiteral("color: white; background: #c01010; padding: 0 4px"));
    recordingLabel_->hide();
    statusBar()->addPermanentWidget(recordingLabel_);
    figures_ = new FrameFigures(statusBar(), frame_);
    connect(picture_, &PictureView::zoomChanged, this,
            [this](double zoom, bool fitting) { figures_->showZoom(zoom, fitting); });

    profiles_ = new StudioProfiles(settings_, values_, this);
    connect(profiles_, &StudioProfiles::settingsRequested, this, &StudioWindow::settingsRequested);
    connect(profiles_, &StudioProfiles::note, this, &StudioWindow::showStatus);
    actions_ = makeStudioActions(this);
    connectActions();
    const StudioMenus menus = buildStudioMenus(*this, actions_, profiles_->keepSettingsAction());
    profiles_->fillMenus(menus.recent, menus.profiles);
    cameraMenu_ = menus.camera;
    connect(controls_, &ControlsDock::changes, this, &StudioWindow::settingsRequested);
    connect(controls_, &ControlsDock::registerWriteRequested, this,
            &StudioWindow::registerWriteRequested);
    connect(picture_, &PictureView::pointerMoved, this,
            [this](std::optional<QPoint> pixel) { figures_->showPixel(pixel); });
    connect(picture_, &PictureView::selectionChanged, this,
            [this] { figures_->showSelection(picture_->selection()); });

    restoreWindow(controlsDock, histogramDock);
    // Started from the menu, the status bar says where snapshots and settings go until the
    // first note replaces it. ORVANE_WORKING_FOLDER is the menu launcher's; a start from
    // elsewhere does not name it.
    const QString launcherFolder = qEnvironmentVariable("ORVANE_WORKING_FOLDER");
    if (!launcherFolder.isEmpty() && QFileInfo(launcherFolder) == QFileInfo(directory_.path()))
        statusBar()->showMessage(QStringLiteral("Working folder: %1").arg(launcherFolder));
    if (!settings_.problem().isEmpty()) {
        const QString note = QStringLiteral("Settings not kept: %1; starting from defaults")
                                 .arg(settings_.problem());
        std::fprintf(stderr, "orvane-studio: %s\n", qPrintable(note));
        statusBar()->showMessage(note);
    }
    clock_.start();
}

// The saved geometry and docks, as long as they fit the screen; the defaults otherwise.
void StudioWindow::restoreWindow(QDockWidget* controlsDock, QDockWidget* histogramDock) {
    const QByteArray geometry = settings_.value(settingsKey("geometry")).toByteArray();
    const QRect screen = this->screen()->availableGeometry();
    const bool restored = geometry.size() <= maxGeometryBytes && restoreGeometry(geometry);
    if (!restored || width() > screen.width() || height() > screen.height() ||
        !screen.intersects(frameGeometry())) {
        setWindowState(Qt::WindowNoState);
        resize(defaultSize.boundedTo(screen.size()));
        move(screen.topLeft());
    }
    const QByteArray state = settings_.value(settingsKey("windowState")).toByteArray();
    if (state.size() > maxWindowStateBytes || !restoreState(state)) {
        resizeDocks({controlsDock, histogramDock}, {560, 200}, Qt::Vertical);
        resizeDocks({controlsDock}, {320}, Qt::Horizontal);
    }
}

StudioWindow::~StudioWindow() = default;

void StudioWindow::connectActions() {
    const StudioActions& a = actions_;
    connect(a.open, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open settings"),
                                                          directory_.path(), settingsFilter);
        if (!path.isEmpty())
            openSettings(path);
    });
    connect(a.save, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Save settings"),
            directory_.filePath(QStringLiteral("settings.txt")), settingsFilter);
        if (!path.isEmpty())
            saveSettings(path);
    });
    connect(a.snapshot, &QAction::triggered, this, [this] { takeSnapshot(); });
    connect(a.record, &QAction::triggered, this, [this] {
        RecordDialog dialog(directory_.absolutePath(), this);
        if (dialog.exec() == QDialog::Accepted)
            startRecording(dialog.plan());
    });
    connect(a.stopRecording, &QAction::triggered, this, &StudioWindow::stopRecording);
    connect(a.quit, &QAction::triggered, this, &QWidget::close);
    connect(a.fit, &QAction::triggered, picture_, &PictureView::fitToWindow);
    connect(a.actualSize, &QAction::triggered, this, [this] { picture_->setZoom(1.0); });
    connect(a.crosshair, &QAction::toggled, picture_, &PictureView::setCrosshair);
    connect(a.clearSelection, &QAction::triggered, picture_, &PictureView::clearSelection);
    picture_->addAction(a.clearSelection);
    picture_->setFocusPolicy(Qt::ClickFocus);
    connect(a.logScale, &QAction::toggled, histogram_, &HistogramView::setLogScale);
    histogram_->addAction(a.logScale);
    histogram_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(a.pause, &QAction::toggled, this, [this](bool paused) {
        emit runningChanged(!paused);
        figures_->setPaused(paused);
    });
    connect(a.reset, &QAction::triggered, this, [this] { emit resetRequested(true); });
    connect(a.resetDefaults, &QAction::triggered, this, [this] { emit resetRequested(false); });
    connect(a.shortcuts, &QAction::triggered, this, [this] { showShortcuts(*this); });
    connect(a.manual, &QAction::triggered, this, [this] { showManualPages(*this); });
    connect(a.about, &QAction::triggered, this, &StudioWindow::showAbout);
}

void StudioWindow::showFrame(const StudioFrame& frame) {
    QElapsedTimer display;
    display.start();
    frame_ = frame;
    picture_->setImage(frame.image);
    histogram_->setHistogram(frame.histogram);
    ++framesShown_;
    recordFrame();
    figures_->showSelection(picture_->selection(), true);
    // The paints of the previous frame: this frame's come after this call returns.
    figures_->frameShown(double(display.nsecsElapsed()) / 1e6 + picture_->lastPaintMilliseconds() +
                         histogram_->lastPaintMilliseconds());
}

void StudioWindow::takeFrame(FrameMailbox& mailbox) {
    std::optional<StudioFrame> frame = mailbox.take();
    if (!frame)
        return;
    if (!frame->complete()) {
        picture_->showArrivingRows(frame->image, frame->arrivingOf);
        return;
    }
    StudioFrame previous = std::move(frame_);
    showFrame(*frame);
    frame.reset();
    mailbox.giveBack(std::move(previous));
}

void StudioWindow::showAbout() {
    QMessageBox::about(
        this, QStringLiteral("About Orvane Studio"),
        QStringLiteral("<b>Orvane Studio</b>, version %1<br>Live view and bring-up bench for the "
                       "OV7610 camera module on the parallel port.<br>MIT licence.<br>Working "
                       "folder: %2")
            .arg(QString::fromLatin1(version()), directory_.absolutePath().toHtmlEscaped()));
}

// The simulated module's scenes and light levels in the Camera menu: each choice opens the module
// again with it, the settings kept.
void StudioWindow::offerScenes(const QString& device) {
    device_ = device.toStdString();
    const auto offer = [this](const QString& title, std::string_view parameter,
                              const std::string& current, const auto& choices, auto valueOf) {
        QMenu* menu = cameraMenu_->addMenu(title);
        auto* group = new QActionGroup(menu);
        for (const auto& choice : choices) {
            const std::string value = valueOf(choice);
            QAction* action = menu->addAction(QString::fromUtf8(choice.text));
            action->setCheckable(true);
            action->setChecked(value == current);
            group->addAction(action);
            connect(action, &QAction::triggered, this, [this, parameter, value] {
                device_ = deviceWith(device_, parameter, value);
                emit deviceRequested(QString::fromStdString(device_));
            });
        }
    };
    cameraMenu_->addSeparator();
    const std::string scene = parameterOf(device_, "scene");
    offer(QStringLiteral("S&cene"), "scene", scene.empty() ? "card" : scene, sceneChoices,
          [](const SceneChoice& choice) { return std::string(choice.scene); });
    const std::string lux = parameterOf(device_, "lux");
    offer(QStringLiteral("&Light"), "lux", lux.empty() ? "100" : lux, lightChoices,
          [](const LightChoice& choice) { return std::to_string(choice.lux); });
}

void StudioWindow::showControls(const ControlValues& values) {
    values_ = values;
    controls_->showValues(values);
}

void StudioWindow::showRegisters(const RegisterSnapshot& registers) {
    registers_->showRegisters(registers);
}

void StudioWindow::showStatus(const QString& text) {
    statusBar()->showMessage(text, noteTimeoutMs);
    // The status bar cuts what does not fit; such a note is shown whole above the picture too.
    const int room = statusBar()->width() - figures_->width() - 40;
    if (statusBar()->fontMetrics().horizontalAdvance(text) <= room) {
        banner_->hide();
        return;
    }
    banner_->setText(text);
    banner_->show();
    QTimer::singleShot(noteTimeoutMs, banner_, [this, text] {
        if (banner_->text() == text)
            banner_->hide();
    });
}

bool StudioWindow::startRecording(const RecordingPlan& plan) {
    if (!recording_.start(plan)) {
        showStatus(QStringLiteral("Not recording: ") + recording_.error());
        return false;
    }
    actions_.record->setEnabled(false);
    actions_.stopRecording->setEnabled(true);
    showRecordingCount();
    recordingLabel_->show();
    showStatus(QStringLiteral("Recording into %1").arg(recording_.folder()));
    return true;
}

void StudioWindow::stopRecording() {
    const bool failed = !recording_.error().isEmpty();
    recording_.stop();
    actions_.record->setEnabled(true);
    actions_.stopRecording->setEnabled(false);
    recordingLabel_->hide();
    if (failed)
        showStatus(QStringLiteral("Recording stopped after %1 frames: %2")
                       .arg(recording_.framesWritten())
                       .arg(recording_.error()));
    else
        showStatus(QStringLiteral("Recorded %1 frames in %2")
                       .arg(recording_.framesWritten())
                       .arg(recording_.folder()));
}

// The frames written, and of how many when the recording has a limit.
void StudioWindow::showRecordingCount() {
    const qint64 limit = recording_.plan().frameLimit;
    recordingLabel_->setText(QStringLiteral("\u25CF REC %1").arg(recording_.framesWritten()) +
                             (limit > 0 ? QStringLiteral(" / %1").arg(limit) : QString()));
}

void StudioWindow::recordFrame() {
    if (!recording_.active())
        return;
    const bool goingOn = recording_.offer(frame_, values_, clock_.elapsed());
    showRecordingCount();
    if (!goingOn)
        stopRecording();
}

QString StudioWindow::takeSnapshot() {
    if (frame_.image.isNull()) {
        showStatus(QStringLiteral("No frame to save yet"));
        return {};
    }
    const QString date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    const SnapshotResult result =
        writeSnapshot(directory_, frame_.image, frame_.raw, &frame_.info,
                      settingsProfile(values_, date.toStdString(), version()));
    if (result.name.isEmpty()) {
        showStatus(QStringLiteral("Snapshot not saved: ") + result.error);
        return {};
    }
    showStatus((frame_.info.mosaic ? QStringLiteral("Saved %1.png, %1.raw and %1.dng in %2")
                                   : QStringLiteral("Saved %1.png and %1.raw in %2"))
                   .arg(result.name, QDir::toNativeSeparators(directory_.absolutePath())));
    return result.name;
}

bool StudioWindow::saveSettings(const QString& path) {
    return profiles_->save(path);
}

bool StudioWindow::openSettings(const QString& path) {
    return profiles_->open(path);
}

void StudioWindow::startWith(const ControlValues& values, bool fromDefaults) {
    showControls(values);
    profiles_->startWith(fromDefaults);
}

QString StudioWindow::profilesFolder() const {
    return profiles_->folder();
}

void StudioWindow::closeEvent(QCloseEvent* event) {
    if (recording_.active())
        stopRecording();
    profiles_->keepSession();
    settings_.setValue(settingsKey("geometry"), saveGeometry());
    settings_.setValue(settingsKey("windowState"), saveState());
    if (settings_.usable() && !settings_.save())
        std::fprintf(stderr, "orvane-studio: the window's settings were not kept: %s\n",
                     qPrintable(settings_.problem()));
    emit quitRequested();
    event->accept();
}

} // namespace orvane
