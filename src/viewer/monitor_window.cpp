// The viewer window: picture, View menu and toolbar, title and status bar read-out.
#include "monitor_window.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "image_view.h"
#include "watched_image.h"

namespace orvane {

QString monitorTitle(const QString& filePath, QSize imageSize, ZoomMode mode) {
    const QFileInfo file(filePath);
    const QString fileName = QStringLiteral("%1 in %2").arg(file.fileName(), file.absolutePath());
    if (imageSize.isEmpty()) {
        return QStringLiteral("%1 - no picture").arg(fileName);
    }
    const QString zoom = mode == ZoomMode::fitToWindow ? QStringLiteral("fit to window")
                                                       : QStringLiteral("actual size (1:1)");
    return QStringLiteral("%1 - %2 x %3 pixels - %4")
        .arg(fileName)
        .arg(imageSize.width())
        .arg(imageSize.height())
        .arg(zoom);
}

QString pixelStatusText(QPoint pixel, QRgb value) {
    return QStringLiteral("x %1, y %2: R %3, G %4, B %5")
        .arg(pixel.x())
        .arg(pixel.y())
        .arg(qRed(value))
        .arg(qGreen(value))
        .arg(qBlue(value));
}

MonitorWindow::MonitorWindow(WatchedImage& source, QWidget* parent)
    : QMainWindow(parent), source_(source), view_(new ImageView(this)),
      fitAction_(new QAction(tr("&Fit to Window"), this)), pixelLabel_(new QLabel(this)) {
    setCentralWidget(view_);

    fitAction_->setCheckable(true);
    fitAction_->setChecked(view_->zoomMode() == ZoomMode::fitToWindow);
    fitAction_->setShortcuts({QKeySequence(Qt::Key_F), QKeySequence(Qt::CTRL | Qt::Key_F)});
    fitAction_->setToolTip(tr("Fit the picture to the window, or show it 1:1 (F)"));
    connect(fitAction_, &QAction::toggled, this,
            [this](bool fit) { setZoomMode(fit ? ZoomMode::fitToWindow : ZoomMode::actualSize); });

    auto* actualAction = new QAction(tr("&Actual Size"), this);
    actualAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(actualAction, &QAction::triggered, this, [this] { setZoomMode(ZoomMode::actualSize); });

    auto* reloadAction = new QAction(tr("&Reload"), this);
    reloadAction->setShortcuts({QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_R)});
    connect(reloadAction, &QAction::triggered, &source_, &WatchedImage::reload);

    auto* quitAction = new QAction(tr("&Quit"), this);
    quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->addAction(reloadAction);
    fileMenu->addSeparator();
    fileMenu->addAction(quitAction);
    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    viewMenu->addAction(fitAction_);
    viewMenu->addAction(actualAction);

    QToolBar* toolBar = addToolBar(tr("View"));
    toolBar->setMovable(false);
    toolBar->addAction(fitAction_);
    toolBar->addAction(reloadAction);

    statusBar()->addWidget(pixelLabel_, 1);
    connect(view_, &ImageView::pixelHovered, this, &MonitorWindow::showPixel);
    connect(view_, &ImageView::hoverLeft, pixelLabel_, &QLabel::clear);
    connect(&source_, &WatchedImage::reloaded, this, &MonitorWindow::showSource);

    showSource();
    resize(800, 600);
}

void MonitorWindow::setZoomMode(ZoomMode mode) {
    view_->setZoomMode(mode);
    fitAction_->setChecked(mode == ZoomMode::fitToWindow);
    updateTitle();
}

ZoomMode MonitorWindow::zoomMode() const {
    return view_->zoomMode();
}

void MonitorWindow::bringToFront() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

QString MonitorWindow::pixelText() const {
    return pixelLabel_->text();
}

void MonitorWindow::showSource() {
    if (source_.image().isNull()) {
        view_->showMessage(source_.problem());
    } else {
        view_->setImage(source_.image());
    }
    updateTitle();
}

void MonitorWindow::updateTitle() {
    setWindowTitle(monitorTitle(source_.filePath(), view_->image().size(), view_->zoomMode()));
}

void MonitorWindow::showPixel(QPoint pixel) {
    pixelLabel_->setText(pixelStatusText(pixel, view_->image().pixel(pixel)));
}

} // namespace orvane
