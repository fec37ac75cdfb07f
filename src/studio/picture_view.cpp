// The live picture.
#include "picture_view.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

constexpr double wheelStep = 1.25; // per notch
constexpr double minimumZoom = 0.1;
constexpr double maximumZoom = 32.0;

} // namespace

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::setImage(const QImage& image) {
    const bool resized = image.size() != image_.size();
    image_ = image;
    arriving_ = QImage();
    if (resized && !selection_.isEmpty())
        clearSelection();
    if (resized)
        changed();
    else
        update();
    if (resized || pointer_.x() >= 0)
        emit pointerMoved(pixelAt(pointer_));
}

void PictureView::showArrivingRows(const QImage& rows, int height) {
    // A frame of a new size starts on black.
    if (image_.width() != rows.width() || image_.height() != height) {
        QImage black(rows.width(), height, QImage::Format_RGB32);
        black.fill(Qt::black);
        setImage(black);
    }
    arriving_ = rows;
    update();
}

void PictureView::fitToWindow() {
    fit_ = true;
    pan_ = {};
    changed();
}

void PictureView::setZoom(double zoom) {
    fit_ = false;
    zoom_ = std::clamp(zoom, minimumZoom, maximumZoom);
    pan_ = {};
    changed();
}

void PictureView::zoomAt(double factor, QPointF anchor) {
    const QRectF before = imageRect();
    const double scale = zoom();
    if (before.isEmpty()) {
        setZoom(scale * factor);
        return;
    }
    const QPointF point = (anchor - before.topLeft()) / scale; // in image pixels
    fit_ = false;
    zoom_ = std::clamp(scale * factor, minimumZoom, maximumZoom);
    const QSizeF size(image_.width() * zoom_, image_.height() * zoom_);
    const QPointF centred((width() - size.width()) / 2, (height() - size.height()) / 2);
    pan_ = anchor - point * zoom_ - centred;
    changed();
}

void PictureView::keepInView() {
    if (fit_ || image_.isNull())
        return;
    const QSizeF size(image_.width() * zoom_, image_.height() * zoom_);
    // Centred, the picture overhangs each side by half the difference; a pan may use that much.
    const double reachX = std::max(0.0, (size.width() - width()) / 2);
    const double reachY = std::max(0.0, (size.height() - height()) / 2);
    pan_ = QPointF(std::clamp(pan_.x(), -reachX, reachX), std::clamp(pan_.y(), -reachY, reachY));
}

void PictureView::changed() {
    keepInView();
    update();
    emit zoomChanged(zoom(), fit_);
}

void PictureView::resizeEvent(QResizeEvent*) {
    changed();
}

double PictureView::zoom() const {
    if (!fit_ || image_.isNull())
        return zoom_;
    return std::min(width() / double(image_.width()), height() / double(image_.height()));
}

QRectF PictureView::imageRect() const {
    if (image_.isNull())
        return {};
    const double scale = zoom();
    const QSizeF size(image_.width() * scale, image_.height() * scale);
    const QPointF centred((width() - size.width()) / 2, (height() - size.height()) / 2);
    return {fit_ ? centred : centred + pan_, size};
}

std::optional<QPoint> PictureView::pixelAt(QPointF point) const {
    const QRectF rect = imageRect();
    if (rect.isEmpty() || !rect.contains(point))
        return std::nullopt;
    const int x = int(std::floor((point.x() - rect.left()) / rect.width() * image_.width()));
    const int y = int(std::floor((point.y() - rect.top()) / rect.height() * image_.height()));
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return std::nullopt;
    return QPoint(x, y);
}

void PictureView::paintEvent(QPaintEvent*) {
    QElapsedTimer timer;
    timer.start();
    QPainter painter(this);
    // Only the margins: the picture covers the rest, and filling under it costs as much again.
    const QRegion margins =
        image_.isNull()
            ? QRegion(rect())
            : QRegion(rect()).subtracted(imageRect().toAlignedRect().adjusted(1, 1, -1, -1));
    for (const QRect& margin : margins)
        painter.fillRect(margin, palette().color(QPalette::Dark));
    if (!image_.isNull()) {
        // Nearest pixels when enlarged, so single samples stay visible.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom() < 1.0);
        painter.drawImage(imageRect(), image_);
        const QRectF rect = imageRect();
        const double scale = zoom();
        if (!arriving_.isNull()) {
            const double bottom = rect.top() + arriving_.height() * scale;
            painter.drawImage(QRectF(rect.left(), rect.top(), rect.width(), bottom - rect.top()),
                              arriving_);
            painter.setPen(QPen(QColor(255, 170, 0), 2));
            painter.drawLine(QPointF(rect.left(), bottom), QPointF(rect.right(), bottom));
        }
        if (!selection_.isEmpty()) {
            painter.setPen(QPen(Qt::yellow, 1, Qt::DashLine));
            painter.drawRect(QRectF(rect.topLeft() + QPointF(selection_.topLeft()) * scale,
                                    QSizeF(selection_.size()) * scale));
        }
        if (crosshair_ && rect.contains(pointer_)) {
            painter.setPen(QPen(QColor(255, 255, 255, 160), 1));
            painter.drawLine(QPointF(rect.left(), pointer_.y()),
                             QPointF(rect.right(), pointer_.y()));
            painter.drawLine(QPointF(pointer_.x(), rect.top()),
                             QPointF(pointer_.x(), rect.bottom()));
        }
    }
    paintMilliseconds_ = double(timer.nsecsElapsed()) / 1e6;
}

void PictureView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        zoomAt(std::pow(wheelStep, notches), event->position());
    event->accept();
}

void PictureView::setCrosshair(bool shown) {
    crosshair_ = shown;
    update();
}

void PictureView::clearSelection() {
    selectingFrom_.reset();
    selection_ = {};
    update();
    emit selectionChanged(selection_);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    dragAt_ = event->position();
    selectingFrom_.reset();
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier) != 0) {
        selectingFrom_ = pixelAt(event->position());
        if (selectingFrom_) {
            selection_ = QRect(*selectingFrom_, QSize(1, 1));
            update();
            emit selectionChanged(selection_);
        }
    }
}

void PictureView::mouseReleaseEvent(QMouseEvent*) {
    selectingFrom_.reset();
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    pointer_ = event->position();
    if (selectingFrom_ && (event->buttons() & Qt::LeftButton) != 0) {
        // The pointer's pixel, held inside the image when the drag leaves it.
        const QRectF rect = imageRect();
        const QPointF inside(std::clamp(pointer_.x(), rect.left(), rect.right() - 0.5),
                             std::clamp(pointer_.y(), rect.top(), rect.bottom() - 0.5));
        if (const std::optional<QPoint> pixel = pixelAt(inside)) {
            selection_ = QRect(*selectingFrom_, *pixel).normalized();
            emit selectionChanged(selection_);
        }
        update();
    } else if ((event->buttons() & Qt::LeftButton) != 0 && !fit_) {
        pan_ += pointer_ - dragAt_;
        dragAt_ = pointer_;
        keepInView();
        update();
    }
    if (crosshair_)
        update();
    emit pointerMoved(pixelAt(pointer_));
}

void PictureView::leaveEvent(QEvent*) {
    pointer_ = QPointF(-1, -1);
    if (crosshair_)
        update();
    emit pointerMoved(std::nullopt);
}

} // namespace orvane
