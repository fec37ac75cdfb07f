// The live picture's figures in the status bar.
#include "frame_figures.h"

#include "pixel_readout.h"
#include "region_stats.h"

namespace orvane {
namespace {

constexpr int figuresIntervalMs = 250;

} // namespace

FrameFigures::FrameFigures(QStatusBar* bar, const StudioFrame& frame)
    : QObject(bar), frame_(frame), selection_(new QLabel(bar)), pixel_(new QLabel(bar)),
      zoom_(new QLabel(bar)), figures_(new QLabel(QStringLiteral("Starting"), bar)) {
    selection_->hide();
    for (QLabel* label : {selection_, pixel_, zoom_, figures_})
        bar->addPermanentWidget(label);
    clock_.start();
}

int FrameFigures::width() const {
    return figures_->width() + pixel_->width() + zoom_->width();
}

void FrameFigures::frameShown(double displayMilliseconds) {
    frameTimes_.push_back(clock_.elapsed());
    while (!frameTimes_.empty() && frameTimes_.front() < frameTimes_.back() - 1000)
        frameTimes_.pop_front();
    displayMilliseconds_ = displayMilliseconds;
    update(false);
}

void FrameFigures::setPaused(bool paused) {
    paused_ = paused;
    update(true);
}

// Size, format and rate always; "Paused" instead of a rate that no longer holds.
void FrameFigures::update(bool now) {
    const qint64 time = clock_.elapsed();
    if (!now && time - lastFigures_ < figuresIntervalMs)
        return;
    lastFigures_ = time;
    const double span =
        frameTimes_.size() > 1 ? double(frameTimes_.back() - frameTimes_.front()) : 0;
    const double fps = span > 0 ? 1000.0 * double(frameTimes_.size() - 1) / span : 0;
    const QString shape = frame_.image.isNull()
                              ? QString()
                              : QStringLiteral("%1 x %2 %3  ")
                                    .arg(frame_.image.width())
                                    .arg(frame_.image.height())
                                    .arg(frame_.info.mosaic ? QStringLiteral("RGB mosaic")
                                                            : QStringLiteral("YUV 4:2:2"));
    const QString rate =
        paused_ ? QStringLiteral("Paused") : QStringLiteral("%1 fps").arg(fps, 0, 'f', 1);
    figures_->setText(QStringLiteral("%1%2  frame %3  port %4 ms  conversion %5 ms  display %6 ms")
                          .arg(shape, rate)
                          .arg(frame_.number)
                          .arg(frame_.portMilliseconds, 0, 'f', 1)
                          .arg(frame_.conversionMilliseconds, 0, 'f', 1)
                          .arg(displayMilliseconds_, 0, 'f', 1));
    showPixel(pointer_);
}

void FrameFigures::showPixel(std::optional<QPoint> pixel) {
    pointer_ = pixel;
    const QImage& image = frame_.image;
    if (!pixel || !image.valid(*pixel)) {
        pixel_->clear();
        return;
    }
    const QRgb rgb = image.pixel(*pixel);
    const std::string raw = rawSampleText(
        std::span(reinterpret_cast<const uint8_t*>(frame_.raw.constData()),
                  std::size_t(frame_.raw.size())),
        frame_.info.bytesPerLine, frame_.info.mosaic, uint32_t(pixel->x()), uint32_t(pixel->y()));
    pixel_->setText(QStringLiteral("(%1, %2)  R %3 G %4 B %5  %6")
                        .arg(pixel->x())
                        .arg(pixel->y())
                        .arg(qRed(rgb))
                        .arg(qGreen(rgb))
                        .arg(qBlue(rgb))
                        .arg(QString::fromStdString(raw)));
}

void FrameFigures::showSelection(const QRect& selection, bool frameShown) {
    if (frameShown)
        noise_.add(frame_.image, selection);
    const RegionStats stats = regionStats(frame_.image, selection);
    QString text = regionStatsText(stats);
    if (const QString noise =
            temporalNoiseText(noise_, {stats.rgb[0].mean, stats.rgb[1].mean, stats.rgb[2].mean});
        !text.isEmpty() && !noise.isEmpty())
        text += QStringLiteral("  |  ") + noise;
    selection_->setText(text);
    selection_->setVisible(!text.isEmpty());
}

void FrameFigures::showZoom(double zoom, bool fitting) {
    const QString percent = QStringLiteral("%1%").arg(qRound(zoom * 100));
    zoom_->setText(fitting ? QStringLiteral("Fit ") + percent : percent);
}

} // namespace orvane
