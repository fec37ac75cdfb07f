// Picture placement in the view for both zoom modes, and view-to-image pixel mapping.
#include "view_mapping.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// Start of the picture along one axis in actual size: centred when it fits, scrolled otherwise.
int actualSizeOrigin(int imageLength, int viewLength, int scroll) {
    if (imageLength <= viewLength) {
        return (viewLength - imageLength) / 2;
    }
    return -std::clamp(scroll, 0, imageLength - viewLength);
}

// Image coordinate along one axis, or -1 when off the picture.
int imageCoordinate(double viewPos, double start, double scale, int imageLength) {
    const double offset = (viewPos - start) / scale;
    if (offset < 0.0) {
        return -1;
    }
    const int index = static_cast<int>(std::floor(offset));
    return index < imageLength ? index : -1;
}

} // namespace

ViewMapping::ViewMapping(QSize imageSize, QSize viewportSize, ZoomMode mode, QPoint scrollOffset)
    : imageSize_(imageSize) {
    if (imageSize.isEmpty() || viewportSize.isEmpty()) {
        scrollRange_ = QSize(0, 0);
        return;
    }
    if (mode == ZoomMode::actualSize) {
        scale_ = 1.0;
        scrollRange_ = QSize(std::max(0, imageSize.width() - viewportSize.width()),
                             std::max(0, imageSize.height() - viewportSize.height()));
        const int left =
            actualSizeOrigin(imageSize.width(), viewportSize.width(), scrollOffset.x());
        const int top =
            actualSizeOrigin(imageSize.height(), viewportSize.height(), scrollOffset.y());
        imageRect_ = QRectF(left, top, imageSize.width(), imageSize.height());
        return;
    }
    scrollRange_ = QSize(0, 0);
    scale_ = std::min(static_cast<double>(viewportSize.width()) / imageSize.width(),
                      static_cast<double>(viewportSize.height()) / imageSize.height());
    const double width = imageSize.width() * scale_;
    const double height = imageSize.height() * scale_;
    imageRect_ = QRectF((viewportSize.width() - width) / 2.0,
                        (viewportSize.height() - height) / 2.0, width, height);
}

std::optional<QPoint> ViewMapping::pixelAt(QPointF viewportPos) const {
    if (scale_ <= 0.0) {
        return std::nullopt;
    }
    const int x = imageCoordinate(viewportPos.x(), imageRect_.left(), scale_, imageSize_.width());
    const int y = imageCoordinate(viewportPos.y(), imageRect_.top(), scale_, imageSize_.height());
    if (x < 0 || y < 0) {
        return std::nullopt;
    }
    return QPoint(x, y);
}

} // namespace orvane
