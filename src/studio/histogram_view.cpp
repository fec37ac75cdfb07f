// Drawing the histogram.
#include "histogram_view.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QStaticText>

#include <algorithm>
#include <array>
#include <cmath>

namespace orvane {
namespace {

struct ChannelStyle {
    HistogramChannel channel;
    const char* letter;
    QColor colour;
};

const std::array<ChannelStyle, histogramChannels> channelStyles{{
    {HistogramChannel::red, "R", QColor(230, 60, 60)},
    {HistogramChannel::green, "G", QColor(60, 200, 60)},
    {HistogramChannel::blue, "B", QColor(70, 110, 240)},
    {HistogramChannel::luma, "Y", QColor(230, 230, 230)},
}};

} // namespace

HistogramView::HistogramView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 120);
}

void HistogramView::setHistogram(const FrameHistogram& histogram) {
    histogram_ = histogram;
    if (QString clipped = clippedText(histogram); clipped != clipped_) {
        clipped_ = std::move(clipped);
        setToolTip(clipped_);
    }
    update();
}

void HistogramView::setLogScale(bool logScale) {
    logScale_ = logScale;
    update();
}

double HistogramView::heightOf(uint32_t count, uint32_t highest, bool logScale) {
    if (count == 0 || highest == 0)
        return 0;
    const double share = logScale ? std::log1p(double(count)) / std::log1p(double(highest))
                                  : double(count) / double(highest);
    return std::min(1.0, share);
}

QString HistogramView::clippedText(const FrameHistogram& histogram) {
    QString text = QStringLiteral("Clipped at 0 / 255:");
    for (const ChannelStyle& style : channelStyles) {
        text += QStringLiteral("  %1 %2 / %3")
                    .arg(QLatin1String(style.letter))
                    .arg(histogram.clippedLow(style.channel))
                    .arg(histogram.clippedHigh(style.channel));
    }
    return text;
}

QRect HistogramView::plotRect() const {
    const int line = fontMetrics().height();
    const int left = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 6;
    return rect().adjusted(left, 4, -6, -(2 * line + 6));
}

// What stays from frame to frame, drawn once for each size: the background, the plot's frame,
// the level axis and the bottom of the count axis.
void HistogramView::drawAxes() {
    axes_ = QPixmap(size() * devicePixelRatio());
    axes_.setDevicePixelRatio(devicePixelRatio());
    axesLogScale_ = logScale_;
    QPainter painter(&axes_);
    painter.fillRect(rect(), QColor(24, 24, 24));
    const QFontMetrics metrics = fontMetrics();
    const QRect plot = plotRect();
    painter.setPen(QColor(90, 90, 90));
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
    painter.setPen(QColor(170, 170, 170));
    for (const int level : {0, 64, 128, 192, 255}) {
        const int x = plot.left() + plot.width() * level / 255;
        painter.drawLine(x, plot.bottom(), x, plot.bottom() + 3);
        const QString label = QString::number(level);
        const int width = metrics.horizontalAdvance(label);
        painter.drawText(std::clamp(x - width / 2, 0, this->width() - width),
                         plot.bottom() + 3 + metrics.ascent(), label);
    }
    painter.drawText(QRect(0, plot.bottom() - metrics.height(), plot.left() - 4, metrics.height()),
                     Qt::AlignRight, logScale_ ? QStringLiteral("log") : QStringLiteral("0"));
}

// Plain polylines over the axes drawn before, and texts laid out once: four antialiased paths
// and the axes' text shaped every frame cost the window most of its time.
void HistogramView::paintEvent(QPaintEvent*) {
    QElapsedTimer timer;
    timer.start();
    QPainter painter(this);
    const QRect plot = plotRect();
    if (plot.width() < 16 || plot.height() < 16) {
        painter.fillRect(rect(), QColor(24, 24, 24));
        return;
    }
    if (axes_.deviceIndependentSize().toSize() != size() || axesLogScale_ != logScale_)
        drawAxes();
    painter.drawPixmap(0, 0, axes_);

    // Scaled to the highest level inside the range, so clipped pixels do not flatten the rest.
    uint32_t highest = 1;
    for (const auto& counts : histogram_.counts)
        highest = std::max(highest, *std::max_element(counts.begin() + 1, counts.end() - 1));
    const QString top =
        highest >= 10000 ? QStringLiteral("%1k").arg(highest / 1000) : QString::number(highest);
    if (top != highestLabel_.text())
        highestLabel_.setText(top);
    painter.setPen(QColor(170, 170, 170));
    const int labelWidth = int(std::ceil(highestLabel_.size().width()));
    painter.drawStaticText(plot.left() - 4 - labelWidth, plot.top(), highestLabel_);

    std::array<QPointF, 256> points;
    for (std::size_t index = 0; index < channelStyles.size(); ++index) {
        const ChannelStyle& style = channelStyles[index];
        const auto& counts = histogram_.counts[static_cast<std::size_t>(style.channel)];
        for (int level = 0; level < 256; ++level) {
            const double x = plot.left() + (plot.width() - 1) * level / 255.0;
            const double height = heightOf(counts[std::size_t(level)], highest, logScale_);
            points[std::size_t(level)] = QPointF(x, plot.bottom() - height * (plot.height() - 1));
        }
        painter.setPen(style.colour);
        painter.drawPolyline(points.data(), int(points.size()));
        // Clipped pixels: a bar of the channel's colour beside each end of the level axis.
        const int offset = int(index);
        if (counts[0] > 0)
            painter.fillRect(plot.left() - 5 + offset, plot.top(), 1, plot.height(), style.colour);
        if (counts[255] > 0)
            painter.fillRect(plot.right() + 2 + offset, plot.top(), 1, plot.height(), style.colour);
    }
    const QString shown = fontMetrics().elidedText(clipped_, Qt::ElideRight, width() - 8);
    if (shown != clippedLabel_.text())
        clippedLabel_.setText(shown);
    painter.setPen(QColor(220, 220, 220));
    painter.drawStaticText(4, height() - 2 - fontMetrics().height(), clippedLabel_);
    paintMilliseconds_ = double(timer.nsecsElapsed()) / 1e6;
}

} // namespace orvane
