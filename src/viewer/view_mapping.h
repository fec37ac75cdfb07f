// ViewMapping: where the picture sits in the view and which image pixel lies under a view position.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <optional>

namespace orvane {

enum class ZoomMode {
    actualSize,  // one image pixel per view pixel, scrolled when larger than the view
    fitToWindow, // scaled to fill the view, aspect ratio kept, centred with margins
};

// The geometry of one picture in one view. Painting and pointer read-out both use it, so the
// pixel reported under the pointer is the pixel drawn there.
class ViewMapping {
public:
    // scrollOffset counts only in actual size, where it is clamped to scrollRange().
    ViewMapping(QSize imageSize, QSize viewportSize, ZoomMode mode, QPoint scrollOffset = {});

    // Where the whole picture is drawn, in viewport coordinates; empty when nothing can be drawn.
    QRectF imageRect() const { return imageRect_; }
    // View pixels per image pixel.
    double scale() const { return scale_; }
    // Largest scroll offsets; zero in fit mode and wherever the picture fits the view.
    QSize scrollRange() const { return scrollRange_; }
    // The image pixel under a viewport position, or nothing when the position is off the picture.
    std::optional<QPoint> pixelAt(QPointF viewportPos) const;

private:
    QSize imageSize_;
    QRectF imageRect_;
    double scale_ = 0.0;
    QSize scrollRange_;
};

} // namespace orvane
