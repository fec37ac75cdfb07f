// HistogramView: the histogram of the current frame (red, green, blue and luma) on level and
// count axes, linear or logarithmic, with the pixels clipped at 0 and 255 marked at the ends.
#pragma once

#include <QPixmap>
#include <QStaticText>
#include <QWidget>

#include "frame_histogram.h"

namespace orvane {

class HistogramView final : public QWidget {
    Q_OBJECT
public:
    explicit HistogramView(QWidget* parent = nullptr);

    void setHistogram(const FrameHistogram& histogram);
    const FrameHistogram& histogram() const { return histogram_; }
    // Counts on a logarithmic axis, so the rare levels show beside the common ones.
    void setLogScale(bool logScale);
    bool logScale() const { return logScale_; }
    // Where the count of level lies on the plot's height: 0 at the bottom, 1 at the top, for a
    // highest count of highest.
    static double heightOf(uint32_t count, uint32_t highest, bool logScale);
    // How long the last paint took, for the status bar's display time.
    double lastPaintMilliseconds() const { return paintMilliseconds_; }

    // "Clipped at 0 / 255: R 3 / 0  G ..." as the dock shows it under the curves.
    static QString clippedText(const FrameHistogram& histogram);

    QSize sizeHint() const override { return {280, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect plotRect() const;
    void drawAxes();

    FrameHistogram histogram_;
    QString clipped_;
    bool logScale_ = false;
    double paintMilliseconds_ = 0;
    QPixmap axes_; // the parts that stay, for the size and scale they were drawn for
    bool axesLogScale_ = false;
    QStaticText highestLabel_;
    QStaticText clippedLabel_;
};

} // namespace orvane
