// MonitorWindow: the viewer's main window around an ImageView, with zoom toggle and pixel read-out.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <QString>

#include "view_mapping.h"

class QAction;
class QLabel;

namespace orvane {

class ImageView;
class WatchedImage;

// "testfile.bmp in /home/me/run - 312 x 208 pixels - fit to window" for that file path;
// "- no picture" when size is empty.
QString monitorTitle(const QString& filePath, QSize imageSize, ZoomMode mode);
// "x 12, y 40: R 200, G 100, B 34".
QString pixelStatusText(QPoint pixel, QRgb value);

class MonitorWindow : public QMainWindow {
    Q_OBJECT

public:
    // Shows source and follows its reloads; source must outlive the window.
    explicit MonitorWindow(WatchedImage& source, QWidget* parent = nullptr);

    void setZoomMode(ZoomMode mode);
    ZoomMode zoomMode() const;

    // Restores a minimised window and puts it in front.
    void bringToFront();

    ImageView* view() const { return view_; }
    QAction* fitAction() const { return fitAction_; }
    // The pixel read-out in the status bar; empty when the pointer is off the picture.
    QString pixelText() const;

private:
    void showSource();
    void updateTitle();
    void showPixel(QPoint pixel);

    WatchedImage& source_;
    ImageView* view_;
    QAction* fitAction_;
    QLabel* pixelLabel_;
};

} // namespace orvane
