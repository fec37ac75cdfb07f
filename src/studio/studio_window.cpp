// The studio's main window.
#include "studio_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QInputDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <orvane/camera.h>

#include <cstdio>

#include "controls_dock.h"
#include "frame_mailbox.h"
#include "histogram_view.h"
#include "picture_view.h"
#include "pixel_readout.h"
#include "record_dialog.h"
#include "region_stats.h"
#include "register_inspector.h"
#include "scene_choice.h"
#include "snapshot_files.h"
#include <orvane/profile.h>

namespace orvane {
namespace {

constexpr int maxRecentFiles = 8;
// What a saved geometry, window state or path takes at most; anything longer was not saved here.
constexpr qsizetype maxGeometryBytes = 1024;
constexpr qsizetype maxWindowStateBytes = 64 * 1024;
constexpr qsizetype maxPathLength = 4096;
constexpr int figuresIntervalMs = 250;
constexpr int noteTimeoutMs = 8000;
constexpr QSize defaultSize(1180, 760);
const QString settingsFilter = QStringLiteral("Orvane settings (*.txt *.orvane);;All files (*)");

QString settingsKey(const char* key) {
    return QString::fromLatin1(key);
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
    auto* controlsDock = new QDockWidget(QStringLiteral("Controls"), this);
    controlsDock->setObjectName(QStringLiteral("controls"));
    controlsDock->setWidget(scroll);
    addDockWidget(Qt::RightDockWidgetArea, controlsDock);
    controlsDock->toggleViewAction()->setText(QStringLiteral("C&ontrols"));

    histogram_ = new HistogramView;
    auto* histogramDock = new QDockWidget(QStringLiteral("Histogram"), this);
    histogramDock->setObjectName(QStringLiteral("histogram"));
    histogramDock->setWidget(histogram_);
    addDockWidget(Qt::RightDockWidgetArea, histogramDock);
    histogramDock->toggleViewAction()->setText(QStringLiteral("&Histogram"));

    // The register inspector, for bring-up: hidden until asked for in the View menu.
    registers_ = new RegisterInspector;
    auto* registersDock = new QDockWidget(QStringLiteral("Registers"), this);
    registersDock->setObjectName(QStringLiteral("registers"));
    registersDock->setWidget(registers_);
    addDockWidget(Qt::BottomDockWidgetArea, registersDock);
    registersDock->hide();
    registersDock->toggleViewAction()->setText(QStringLiteral("&Registers"));
    // Shown from the menu, it takes the keys: arrows to a value, then type the new one.
    connect(registersDock->toggleViewAction(), &QAction::triggered, registers_, [this](bool shown) {
        if (shown)
            registers_->setFocus();
    });
    connect(registers_, &RegisterInspector::registerWriteRequested, this,
            &StudioWindow::registerWriteRequested);
    connect(registers_, &RegisterInspector::note, this, &StudioWindow::showStatus);

    pixelLabel_ = new QLabel(this);
    figuresLabel_ = new QLabel(QStringLiteral("Starting"), this);
    zoomLabel_ = new QLabel(this);
    selectionLabel_ = new QLabel(this);
    selectionLabel_->hide();
    recordingLabel_ = new QLabel(this);
    recordingLabel_->setStyleSheet(
        QStringLiteral("color: white; background: #c01010; padding: 0 4px"));
    recordingLabel_->hide();
    statusBar()->addPermanentWidget(recordingLabel_);
    statusBar()->addPermanentWidget(selectionLabel_);
    statusBar()->addPermanentWidget(pixelLabel_);
    statusBar()->addPermanentWidget(zoomLabel_);
    statusBar()->addPermanentWidget(figuresLabel_);
    connect(picture_, &PictureView::zoomChanged, this, [this](double zoom, bool fitting) {
        const QString percent = QStringLiteral("%1%").arg(qRound(zoom * 100));
        zoomLabel_->setText(fitting ? QStringLiteral("Fit ") + percent : percent);
    });

    buildActions();
    buildMenus();
    connect(controls_, &ControlsDock::changes, this, &StudioWindow::settingsRequested);
    connect(controls_, &ControlsDock::registerWriteRequested, this,
            &StudioWindow::registerWriteRequested);
    connect(picture_, &PictureView::pointerMoved, this, &StudioWindow::showPixel);
    connect(picture_, &PictureView::selectionChanged, this, &StudioWindow::showSelection);

    restoreWindow(controlsDock, histogramDock);
    rebuildRecentMenu();
    // Started from the menu, the status bar says where snapshots and settings go until the
    // first note replaces it.
    // ORVANE_WORKING_FOLDER is the menu launcher's; a start from elsewhere does not name it.
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

void StudioWindow::buildActions() {
    pauseAction_ = new QAction(QStringLiteral("&Pause"), this);
    pauseAction_->setCheckable(true);
    pauseAction_->setShortcut(Qt::Key_Space);
    pauseAction_->setToolTip(QStringLiteral("Hold the live picture; again to go on (Space)"));
    pauseAction_->setIcon(QIcon::fromTheme(QStringLiteral("media-playback-pause")));
    connect(pauseAction_, &QAction::toggled, this, [this](bool paused) {
        emit runningChanged(!paused);
        updateFrameFigures(lastDisplayMilliseconds_, true);
    });

    snapshotAction_ = new QAction(QStringLiteral("&Snapshot"), this);
    snapshotAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    snapshotAction_->setIcon(QIcon::fromTheme(QStringLiteral("camera-photo")));
    connect(snapshotAction_, &QAction::triggered, this, [this] { takeSnapshot(); });

    resetAction_ = new QAction(QStringLiteral("Re&set"), this);
    resetAction_->setToolTip(
        QStringLiteral("Reset the sensor, then send the current settings to it again"));
    connect(resetAction_, &QAction::triggered, this, [this] { emit resetRequested(true); });
    resetDefaultsAction_ = new QAction(QStringLiteral("Reset to &defaults"), this);
    resetDefaultsAction_->setToolTip(
        QStringLiteral("Reset the sensor and leave every control at its default"));
    connect(resetDefaultsAction_, &QAction::triggered, this,
            [this] { emit resetRequested(false); });

    fitAction_ = new QAction(QStringLiteral("&Fit to window"), this);
    fitAction_->setShortcut(Qt::Key_F);
    fitAction_->setIcon(QIcon::fromTheme(QStringLiteral("zoom-fit-best")));
    connect(fitAction_, &QAction::triggered, picture_, &PictureView::fitToWindow);
    actualSizeAction_ = new QAction(QStringLiteral("&Actual size (1:1)"), this);
    actualSizeAction_->setShortcut(Qt::Key_1);
    actualSizeAction_->setIcon(QIcon::fromTheme(QStringLiteral("zoom-original")));
    connect(actualSizeAction_, &QAction::triggered, this, [this] { picture_->setZoom(1.0); });

    openAction_ = new QAction(QStringLiteral("&Open settings..."), this);
    openAction_->setShortcut(QKeySequence::Open);
    connect(openAction_, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open settings"),
                                                          directory_.path(), settingsFilter);
        if (!path.isEmpty())
            openSettings(path);
    });
    saveAction_ = new QAction(QStringLiteral("Save s&ettings..."), this);
    saveAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(saveAction_, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Save settings"),
            directory_.filePath(QStringLiteral("settings.txt")), settingsFilter);
        if (!path.isEmpty())
            saveSettings(path);
    });
    recordAction_ = new QAction(QStringLiteral("&Record..."), this);
    recordAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    recordAction_->setIcon(QIcon::fromTheme(QStringLiteral("media-record")));
    recordAction_->setToolTip(QStringLiteral("Record the frames as PNG, raw bytes and settings"));
    connect(recordAction_, &QAction::triggered, this, [this] {
        RecordDialog dialog(directory_.absolutePath(), this);
        if (dialog.exec() == QDialog::Accepted)
            startRecording(dialog.plan());
    });
    stopRecordingAction_ = new QAction(QStringLiteral("S&top recording"), this);
    stopRecordingAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    stopRecordingAction_->setEnabled(false);
    connect(stopRecordingAction_, &QAction::triggered, this, &StudioWindow::stopRecording);
    aboutAction_ = new QAction(QStringLiteral("&About Orvane Studio"), this);
    connect(aboutAction_, &QAction::triggered, this, &StudioWindow::showAbout);
    shortcutsAction_ = new QAction(QStringLiteral("&Keyboard shortcuts"), this);
    shortcutsAction_->setShortcut(QKeySequence::HelpContents);
    connect(shortcutsAction_, &QAction::triggered, this, &StudioWindow::showShortcuts);
    manualAction_ = new QAction(QStringLiteral("&Manual pages"), this);
    connect(manualAction_, &QAction::triggered, this, [this] {
        QMessageBox::information(
            this, QStringLiteral("Manual pages"),
            QStringLiteral("In a terminal: man orvane-studio (this program), man orvane-panel, "
                           "man orvane-cli, man monitor.exe and man orvane-launch.\n\nThe "
                           "package installs them in /usr/share/man/man1; in the source they "
                           "are in packaging/man, readable with man -l."));
    });
    keepSettingsAction_ = new QAction(QStringLiteral("&Keep settings between sessions"), this);
    keepSettingsAction_->setCheckable(true);
    const QVariant keep = settings_.value(settingsKey("keepCameraSettings"));
    keepSettingsAction_->setChecked(keep.typeId() != QMetaType::Bool || keep.toBool());
    keepSettingsAction_->setToolTip(
        QStringLiteral("At the next start, send the settings this session ends with"));
    quitAction_ = new QAction(QStringLiteral("&Quit"), this);
    quitAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quitAction_, &QAction::triggered, this, &QWidget::close);
}

void StudioWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(openAction_);
    recentMenu_ = file->addMenu(QStringLiteral("Open &recent"));
    file->addAction(saveAction_);
    profilesMenu_ = file->addMenu(QStringLiteral("&Profiles"));
    connect(profilesMenu_, &QMenu::aboutToShow, this, &StudioWindow::rebuildProfilesMenu);
    rebuildProfilesMenu();
    file->addSeparator();
    file->addAction(snapshotAction_);
    file->addAction(recordAction_);
    file->addAction(stopRecordingAction_);
    file->addSeparator();
    file->addAction(quitAction_);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->addAction(fitAction_);
    view->addAction(actualSizeAction_);
    auto* crosshair = new QAction(QStringLiteral("&Crosshair"), this);
    crosshair->setCheckable(true);
    crosshair->setShortcut(Qt::Key_C);
    connect(crosshair, &QAction::toggled, picture_, &PictureView::setCrosshair);
    view->addAction(crosshair);
    auto* clearSelection = new QAction(QStringLiteral("Clear the &selection"), this);
    clearSelection->setShortcut(Qt::Key_Escape);
    clearSelection->setToolTip(QStringLiteral("Shift and drag on the picture to select"));
    connect(clearSelection, &QAction::triggered, picture_, &PictureView::clearSelection);
    view->addAction(clearSelection);
    // Esc belongs to the picture once clicked, so it still cancels an edit elsewhere.
    clearSelection->setShortcutContext(Qt::WidgetShortcut);
    picture_->addAction(clearSelection);
    picture_->setFocusPolicy(Qt::ClickFocus);
    auto* logScale = new QAction(QStringLiteral("Histogram on a &log scale"), this);
    logScale->setCheckable(true);
    connect(logScale, &QAction::toggled, histogram_, &HistogramView::setLogScale);
    histogram_->addAction(logScale);
    histogram_->setContextMenuPolicy(Qt::ActionsContextMenu);
    view->addAction(logScale);
    view->addSeparator();
    for (QDockWidget* dock : findChildren<QDockWidget*>())
        view->addAction(dock->toggleViewAction());

    QMenu* camera = cameraMenu_ = menuBar()->addMenu(QStringLiteral("&Camera"));
    camera->addAction(pauseAction_);
    camera->addAction(resetAction_);
    camera->addAction(resetDefaultsAction_);
    camera->addSeparator();
    camera->addAction(keepSettingsAction_);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(shortcutsAction_);
    help->addAction(manualAction_);
    help->addSeparator();
    help->addAction(aboutAction_);

    QToolBar* tools = addToolBar(QStringLiteral("Live"));
    tools->setObjectName(QStringLiteral("live"));
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    resetAction_->setIcon(QIcon::fromTheme(QStringLiteral("view-refresh")));
    for (QAction* action : {pauseAction_, snapshotAction_, recordAction_, resetAction_, fitAction_,
                            actualSizeAction_})
        tools->addAction(action);
}

void StudioWindow::showFrame(const StudioFrame& frame) {
    QElapsedTimer display;
    display.start();
    frame_ = frame;
    picture_->setImage(frame.image);
    histogram_->setHistogram(frame.histogram);
    ++framesShown_;
    recordFrame();
    noise_.add(frame.image, picture_->selection());
    showSelection();
    frameTimes_.push_back(clock_.elapsed());
    while (!frameTimes_.empty() && frameTimes_.front() < frameTimes_.back() - 1000)
        frameTimes_.pop_front();
    // The paints of the previous frame: this frame's come after this call returns.
    updateFrameFigures(double(display.nsecsElapsed()) / 1e6 + picture_->lastPaintMilliseconds() +
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

// Size, format and rate always; "Paused" instead of a rate that no longer holds.
void StudioWindow::updateFrameFigures(double displayMilliseconds, bool now) {
    lastDisplayMilliseconds_ = displayMilliseconds;
    const qint64 time = clock_.elapsed();
    if (!now && time - lastFigures_ < figuresIntervalMs)
        return;
    lastFigures_ = time;
    const double span =
        frameTimes_.size() > 1 ? double(frameTimes_.back() - frameTimes_.front()) : 0;
    const double fps = span > 0 ? 1000.0 * double(frameTimes_.size() - 1) / span : 0;
    const QString shape = frame_.image.isNull()
                              ? QString()
                              : QStringLiteral("%1 x %2 %3  ")
                                    .arg(frame_.image.width())
                                    .arg(frame_.image.height())
                                    .arg(frame_.info.mosaic ? QStringLiteral("RGB mosaic")
                                                            : QStringLiteral("YUV 4:2:2"));
    const QString rate = pauseAction_->isChecked() ? QStringLiteral("Paused")
                                                   : QStringLiteral("%1 fps").arg(fps, 0, 'f', 1);
    figuresLabel_->setText(
        QStringLiteral("%1%2  frame %3  port %4 ms  conversion %5 ms  display %6 ms")
            .arg(shape, rate)
            .arg(frame_.number)
            .arg(frame_.portMilliseconds, 0, 'f', 1)
            .arg(frame_.conversionMilliseconds, 0, 'f', 1)
            .arg(displayMilliseconds, 0, 'f', 1));
    showPixel(pointer_);
}

void StudioWindow::showAbout() {
    QMessageBox::about(
        this, QStringLiteral("About Orvane Studio"),
        QStringLiteral("<b>Orvane Studio</b>, version %1<br>Live view and bring-up bench for the "
                       "OV7610 camera module on the parallel port.<br>MIT licence.<br>Working "
                       "folder: %2")
            .arg(QString::fromLatin1(version()), directory_.absolutePath().toHtmlEscaped()));
}

// Every action with a key, as the menus name it.
void StudioWindow::showShortcuts() {
    QString text;
    for (const QAction* action : findChildren<QAction*>()) {
        if (action->shortcut().isEmpty())
            continue;
        text += QStringLiteral("%1\t%2\n")
                    .arg(action->shortcut().toString(QKeySequence::NativeText),
                         action->text().remove(QLatin1Char('&')));
    }
    text += QStringLiteral("Wheel over the picture\tzoom about the pointer\n"
                           "Shift and drag on the picture\tselect: mean, minimum, maximum\n"
                           "Drag the enlarged picture\tmove it\n"
                           "Wheel over a control\tchange it, once it has the focus (click or "
                           "Tab); otherwise the dock scrolls");
    QMessageBox::information(this, QStringLiteral("Keyboard shortcuts"), text);
}

void StudioWindow::showPixel(std::optional<QPoint> pixel) {
    pointer_ = pixel;
    const QImage& image = frame_.image;
    if (!pixel || !image.valid(*pixel)) {
        pixelLabel_->clear();
        return;
    }
    const QRgb rgb = image.pixel(*pixel);
    const std::string raw = rawSampleText(
        std::span(reinterpret_cast<const uint8_t*>(frame_.raw.constData()),
                  std::size_t(frame_.raw.size())),
        frame_.info.bytesPerLine, frame_.info.mosaic, uint32_t(pixel->x()), uint32_t(pixel->y()));
    pixelLabel_->setText(QStringLiteral("(%1, %2)  R %3 G %4 B %5  %6")
                             .arg(pixel->x())
                             .arg(pixel->y())
                             .arg(qRed(rgb))
                             .arg(qGreen(rgb))
                             .arg(qBlue(rgb))
                             .arg(QString::fromStdString(raw)));
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

// The selection's statistics follow the live picture.
void StudioWindow::showSelection() {
    const RegionStats stats = regionStats(frame_.image, picture_->selection());
    QString text = regionStatsText(stats);
    if (const QString noise =
            temporalNoiseText(noise_, {stats.rgb[0].mean, stats.rgb[1].mean, stats.rgb[2].mean});
        !text.isEmpty() && !noise.isEmpty())
        text += QStringLiteral("  |  ") + noise;
    selectionLabel_->setText(text);
    selectionLabel_->setVisible(!text.isEmpty());
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
    const int room = statusBar()->width() - figuresLabel_->width() - pixelLabel_->width() -
                     zoomLabel_->width() - 40;
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
    recordAction_->setEnabled(false);
    stopRecordingAction_->setEnabled(true);
    showRecordingCount();
    recordingLabel_->show();
    showStatus(QStringLiteral("Recording into %1").arg(recording_.folder()));
    return true;
}

void StudioWindow::stopRecording() {
    const bool failed = !recording_.error().isEmpty();
    recording_.stop();
    recordAction_->setEnabled(true);
    stopRecordingAction_->setEnabled(false);
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
    const SnapshotResult result = writeSnapshot(directory_, frame_.image, frame_.raw);
    if (result.name.isEmpty()) {
        showStatus(QStringLiteral("Snapshot not saved: ") + result.error);
        return {};
    }
    showStatus(QStringLiteral("Saved %1.png and %1.raw in %2")
                   .arg(result.name, QDir::toNativeSeparators(directory_.absolutePath())));
    return result.name;
}

bool StudioWindow::saveSettings(const QString& path) {
    const QString date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    const std::string text = settingsProfile(values_, date.toStdString(), version());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        showStatus(QStringLiteral("Settings not saved: %1: %2").arg(path, file.errorString()));
        return false;
    }
    rememberRecent(path);
    showStatus(QStringLiteral("Settings saved in %1").arg(path));
    return true;
}

bool StudioWindow::openSettings(const QString& path) {
    // Only a regular file of a profile's size: a FIFO would block the window.
    ProfileReading reading;
    if (const Status read = readSettingsProfileFile(path.toStdString(), reading); !read) {
        showStatus(
            QStringLiteral("Settings not opened: %1").arg(QString::fromStdString(read.message())));
        return false;
    }
    rememberRecent(path);
    // What is in force already is not asked for again.
    if (const ControlChanges changes = changesFrom(reading.changes, values_); !changes.empty())
        emit settingsRequested(changes);
    if (reading.problems.empty())
        showStatus(QStringLiteral("Settings loaded from %1").arg(path));
    else
        showStatus(QStringLiteral("Settings loaded from %1; left out: %2")
                       .arg(path, QString::fromStdString(reading.problems.front())));
    return true;
}

void StudioWindow::startWith(const ControlValues& values, bool fromDefaults) {
    showControls(values);
    if (fromDefaults) {
        showStatus(QStringLiteral("Started from every control's default (--defaults)"));
        return;
    }
    const QVariant saved = settings_.value(settingsKey("camera"));
    if (!keepSettingsAction_->isChecked() || saved.typeId() != QMetaType::QString ||
        std::size_t(saved.toString().size()) > maxProfileBytes)
        return;
    const QByteArray text = saved.toString().toUtf8();
    const ProfileReading reading =
        readSettingsProfile(std::string_view(text.constData(), std::size_t(text.size())));
    const ControlChanges changes = changesFrom(reading.changes, values);
    if (changes.empty())
        return;
    emit settingsRequested(changes);
    showStatus(QStringLiteral("The settings the last session ended with are live again"));
}

QString StudioWindow::profilesFolder() const {
    const QFileInfo file(settings_.path());
    return settings_.path().isEmpty() ? QString() : file.dir().filePath(QStringLiteral("profiles"));
}

void StudioWindow::rebuildProfilesMenu() {
    profilesMenu_->clear();
    const QDir folder(profilesFolder());
    const QStringList names = profilesFolder().isEmpty()
                                  ? QStringList()
                                  : folder.entryList({QStringLiteral("*.txt")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        profilesMenu_->addAction(QFileInfo(name).completeBaseName(), this,
                                 [this, path] { openSettings(path); });
    }
    if (names.isEmpty())
        profilesMenu_->addAction(QStringLiteral("(none saved yet)"))->setEnabled(false);
    profilesMenu_->addSeparator();
    profilesMenu_
        ->addAction(QStringLiteral("Save profile &as..."), this, &StudioWindow::saveProfileAs)
        ->setEnabled(!profilesFolder().isEmpty());
}

// A name of letters, digits, blanks, '-', '_' and '.', not starting with a dot, becomes
// NAME.txt in the profiles folder.
void StudioWindow::saveProfileAs() {
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("Save profile as"),
                              QStringLiteral("Name of the profile:"), QLineEdit::Normal, {}, &ok)
            .trimmed();
    if (!ok || name.isEmpty())
        return;
    static const QRegularExpression allowed(QStringLiteral("^[\\w][\\w .-]{0,63}$"));
    if (!allowed.match(name).hasMatch()) {
        showStatus(QStringLiteral("Profile not saved: \"%1\" is not a name of up to 64 letters, "
                                  "digits, blanks, '-', '_' and '.'")
                       .arg(name));
        return;
    }
    if (!QDir().mkpath(profilesFolder())) {
        showStatus(QStringLiteral("Profile not saved: %1 cannot be made").arg(profilesFolder()));
        return;
    }
    saveSettings(QDir(profilesFolder()).filePath(name + QStringLiteral(".txt")));
}

// The first few saved paths that can be paths at all.
QStringList StudioWindow::recentFiles() const {
    const QVariant saved = settings_.value(settingsKey("recentFiles"));
    QStringList recent;
    if (saved.typeId() != QMetaType::QStringList && saved.typeId() != QMetaType::QString)
        return recent;
    for (const QString& path : saved.toStringList()) {
        if (recent.size() == maxRecentFiles)
            break;
        if (!path.isEmpty() && path.size() <= maxPathLength && !recent.contains(path))
            recent.append(path);
    }
    return recent;
}

void StudioWindow::rememberRecent(const QString& path) {
    QStringList recent = recentFiles();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > maxRecentFiles)
        recent.removeLast();
    settings_.setValue(settingsKey("recentFiles"), recent);
    if (settings_.usable() && !settings_.save())
        showStatus(QStringLiteral("Settings not kept: %1").arg(settings_.problem()));
    rebuildRecentMenu();
}

void StudioWindow::rebuildRecentMenu() {
    recentMenu_->clear();
    const QStringList recent = recentFiles();
    for (const QString& path : recent)
        recentMenu_->addAction(path, this, [this, path] { openSettings(path); });
    recentMenu_->setEnabled(!recent.isEmpty());
}

void StudioWindow::closeEvent(QCloseEvent* event) {
    if (recording_.active())
        stopRecording();
    if (!values_.empty()) {
        const QString date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
        settings_.setValue(settingsKey("camera"), QString::fromStdString(settingsProfile(
                                                      values_, date.toStdString(), version())));
    }
    settings_.setValue(settingsKey("keepCameraSettings"), keepSettingsAction_->isChecked());
    settings_.setValue(settingsKey("geometry"), saveGeometry());
    settings_.setValue(settingsKey("windowState"), saveState());
    if (settings_.usable() && !settings_.save())
        std::fprintf(stderr, "orvane-studio: the window's settings were not kept: %s\n",
                     qPrintable(settings_.problem()));
    emit quitRequested();
    event->accept();
}

} // namespace orvane
