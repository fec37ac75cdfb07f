// Drawing the histogram.
#include "studio/histogram_view.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>

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
    update();
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

void HistogramView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(24, 24, 24));
    const QString clipped = clippedText(histogram_);
    const QRect text = rect().adjusted(4, 0, -4, -2);
    const int textHeight = fontMetrics().boundingRect(text, Qt::TextWordWrap, clipped).height() + 4;
    const QRectF plot = QRectF(rect()).adjusted(2, 2, -2, -textHeight);

    // Scaled to the highest level inside the range, so clipped pixels do not flatten the rest.
    uint32_t highest = 1;
    for (const auto& counts : histogram_.counts)
        highest = std::max(highest, *std::max_element(counts.begin() + 1, counts.end() - 1));
    painter.setRenderHint(QPainter::Antialiasing);
    for (const ChannelStyle& style : channelStyles) {
        const auto& counts = histogram_.counts[static_cast<std::size_t>(style.channel)];
        QPainterPath path;
        for (int level = 0; level < 256; ++level) {
            const double x = plot.left() + plot.width() * level / 255.0;
            const double share = std::min(1.0, double(counts[std::size_t(level)]) / highest);
            const QPointF point(x, plot.bottom() - share * plot.height());
            if (level == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
        painter.setPen(QPen(style.colour, 1.2));
        painter.drawPath(path);
    }
    painter.setPen(QColor(220, 220, 220));
    painter.drawText(text, Qt::AlignBottom | Qt::AlignLeft | Qt::TextWordWrap, clipped);
}

} // namespace orvane
