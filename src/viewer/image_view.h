// ImageView: a scroll area that paints the picture 1:1 or fitted, or a message when there is none.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointF>
#include <QString>

#include <optional>

#include "view_mapping.h"

namespace orvane {

class ImageView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ImageView(QWidget* parent = nullptr);

    // Shows a picture; any message goes.
    void setImage(const QImage& image);
    // Shows a message instead of a picture.
    void showMessage(const QString& text);

    const QImage& image() const { return image_; }
    const QString& message() const { return message_; }

    void setZoomMode(ZoomMode mode);
    ZoomMode zoomMode() const { return zoomMode_; }

    // The picture's current place in the viewport.
    ViewMapping mapping() const;

    QSize sizeHint() const override;

signals:
    // The pointer is over this image pixel (also after the picture or the zoom changed under it).
    void pixelHovered(QPoint pixel);
    // The pointer left the picture or the view.
    void hoverLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void layoutChanged();
    void updateScrollBars();
    void reportPointer();

    QImage image_;
    QString message_;
    ZoomMode zoomMode_ = ZoomMode::fitToWindow;
    std::optional<QPointF> pointer_;
    bool overPicture_ = false;
};

} // namespace orvane
