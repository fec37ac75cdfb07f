// Painting the picture in either zoom mode and reporting the image pixel under the pointer.
#include "image_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace orvane {

namespace {

constexpr QColor backgroundColour{64, 64, 64};
constexpr QColor messageColour{230, 230, 230};
constexpr int scrollStep = 20;
constexpr int messageMargin = 24;

} // namespace

ImageView::ImageView(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(scrollStep);
    verticalScrollBar()->setSingleStep(scrollStep);
}

void ImageView::setImage(const QImage& image) {
    image_ = image;
    message_.clear();
    layoutChanged();
}

void ImageView::showMessage(const QString& text) {
    image_ = QImage();
    message_ = text;
    layoutChanged();
}

void ImageView::setZoomMode(ZoomMode mode) {
    if (mode == zoomMode_) {
        return;
    }
    zoomMode_ = mode;
    layoutChanged();
}

ViewMapping ImageView::mapping() const {
    return ViewMapping(image_.size(), viewport()->size(), zoomMode_,
                       QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

QSize ImageView::sizeHint() const {
    const int frame = 2 * frameWidth();
    if (image_.isNull()) {
        return QSize(480, 360);
    }
    return image_.size().boundedTo(QSize(1280, 960)) + QSize(frame, frame);
}

void ImageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), backgroundColour);
    if (!image_.isNull()) {
        const ViewMapping place = mapping();
        // Enlarged pixels stay sharp squares so single pixels can be judged; reduced pictures
        // are smoothed.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, place.scale() < 1.0);
        painter.drawImage(place.imageRect(), image_);
        return;
    }
    painter.setPen(messageColour);
    painter.drawText(
        viewport()->rect().adjusted(messageMargin, messageMargin, -messageMargin, -messageMargin),
        Qt::AlignCenter | Qt::TextWordWrap, message_);
}

void ImageView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    reportPointer();
}

void ImageView::scrollContentsBy(int, int) {
    viewport()->update();
    reportPointer();
}

void ImageView::mouseMoveEvent(QMouseEvent* event) {
    pointer_ = event->position();
    reportPointer();
    QAbstractScrollArea::mouseMoveEvent(event);
}

bool ImageView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave) {
        pointer_.reset();
        reportPointer();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ImageView::layoutChanged() {
    updateScrollBars();
    viewport()->update();
    reportPointer();
}

void ImageView::updateScrollBars() {
    const QSize range = ViewMapping(image_.size(), viewport()->size(), zoomMode_).scrollRange();
    horizontalScrollBar()->setRange(0, range.width());
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, range.height());
    verticalScrollBar()->setPageStep(viewport()->height());
}

void ImageView::reportPointer() {
    const std::optional<QPoint> pixel = pointer_ ? mapping().pixelAt(*pointer_) : std::nullopt;
    if (pixel) {
        overPicture_ = true;
        emit pixelHovered(*pixel);
    } else if (overPicture_) {
        overPicture_ = false;
        emit hoverLeft();
    }
}

} // namespace orvane
