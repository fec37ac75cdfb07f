// PictureView: the live picture, fitted to the window, at 1:1 or zoomed with the wheel about the
// pointer (and dragged with the left button), and the pixel under the pointer.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QWidget>

#include <optional>

namespace orvane {

class PictureView final : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent = nullptr);

    // A complete frame; it ends any rows still arriving.
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    // The first rows of a frame of height rows still arriving, drawn over the top of the picture
    // with a mark below them.
    void showArrivingRows(const QImage& rows, int height);
    int rowsArrived() const { return arriving_.height(); }

    void fitToWindow();
    void setZoom(double zoom); // 1.0 is 1:1, centred; leaves fit mode
    // Zooms by factor keeping the image point under anchor (a widget point) where it is.
    void zoomAt(double factor, QPointF anchor);
    bool fitting() const { return fit_; }
    double zoom() const;

    // Where the image lies in the widget, and the image pixel at a widget point (none outside).
    QRectF imageRect() const;
    std::optional<QPoint> pixelAt(QPointF point) const;

    // A crosshair through the pointer, over the whole picture.
    void setCrosshair(bool shown);
    QRect selection() const { return selection_; }
    void clearSelection();

    // How long the last paint took, for the status bar's display time.
    double lastPaintMilliseconds() const { return paintMilliseconds_; }

signals:
    // The pixel under the pointer, or nothing when the pointer is off the picture.
    void pointerMoved(std::optional<QPoint> pixel);
    // The scale shown, 1.0 for 1:1, and whether it is the fitted one.
    void zoomChanged(double zoom, bool fitting);
    // The rectangle of image pixels selected with Shift and the left button; empty when cleared.
    void selectionChanged(QRect selection);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Keeps an enlarged picture covering the view and a smaller one centred, so no pan leaves it
    // off screen.
    void keepInView();
    void changed();

    QImage image_;
    QImage arriving_;
    bool fit_ = true;
    double zoom_ = 1.0;
    double paintMilliseconds_ = 0;
    QPointF pointer_{-1, -1};
    QPointF pan_;    // offset of an enlarged picture dragged with the left button
    QPointF dragAt_; // where the drag last was
    bool crosshair_ = false;
    std::optional<QPoint> selectingFrom_; // the image pixel a Shift drag started at
    QRect selection_;
};

} // namespace orvane
