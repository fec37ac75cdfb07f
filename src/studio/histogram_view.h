// HistogramView: the histogram of the current frame (red, green, blue and luma) and the pixels
// clipped at 0 and 255.
#pragma once

#include <QWidget>

#include "studio/frame_histogram.h"

namespace orvane {

class HistogramView final : public QWidget {
    Q_OBJECT
public:
    explicit HistogramView(QWidget* parent = nullptr);

    void setHistogram(const FrameHistogram& histogram);
    const FrameHistogram& histogram() const { return histogram_; }

    // "Clipped at 0 / 255: R 3 / 0  G ..." as the dock shows it under the curves.
    static QString clippedText(const FrameHistogram& histogram);

    QSize sizeHint() const override { return {280, 160}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FrameHistogram histogram_;
};

} // namespace orvane
