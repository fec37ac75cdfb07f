// Temporal noise of the selection over the last frames.
#include "temporal_noise.h"

#include <cmath>

namespace orvane {

void TemporalNoise::add(const QImage& image, const QRect& area) {
    const QRect inside = area.normalized().intersected(image.rect());
    if (inside != area_ || image.size() != imageSize_) {
        clear();
        area_ = inside;
        imageSize_ = image.size();
    }
    if (inside.isEmpty() || image.format() != QImage::Format_RGB32)
        return;
    std::vector<uint8_t> pixels;
    pixels.reserve(std::size_t(inside.width()) * inside.height() * 3);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x) {
            pixels.push_back(uint8_t(qRed(row[x])));
            pixels.push_back(uint8_t(qGreen(row[x])));
            pixels.push_back(uint8_t(qBlue(row[x])));
        }
    }
    sums_.resize(pixels.size());
    squares_.resize(pixels.size());
    if (frames_.size() == std::size_t{depth}) {
        const std::vector<uint8_t>& oldest = frames_.front();
        for (std::size_t i = 0; i < oldest.size(); ++i) {
            sums_[i] -= oldest[i];
            squares_[i] -= uint32_t(oldest[i]) * oldest[i];
        }
        frames_.pop_front();
    }
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        sums_[i] += pixels[i];
        squares_[i] += uint32_t(pixels[i]) * pixels[i];
    }
    frames_.push_back(std::move(pixels));
}

void TemporalNoise::clear() {
    area_ = {};
    frames_.clear();
    sums_.clear();
    squares_.clear();
}

std::array<double, 3> TemporalNoise::deviation() const {
    std::array<double, 3> result{};
    const double n = double(frames_.size());
    if (n < 2 || sums_.empty())
        return result;
    std::array<double, 3> variance{};
    for (std::size_t i = 0; i < sums_.size(); ++i)
        variance[i % 3] += (squares_[i] - double(sums_[i]) * sums_[i] / n) / (n - 1);
    for (std::size_t c = 0; c < 3; ++c)
        result[c] = std::sqrt(variance[c] / double(sums_.size() / 3));
    return result;
}

QString temporalNoiseText(const TemporalNoise& noise, const std::array<double, 3>& means) {
    if (noise.frames() < 2)
        return {};
    const std::array<double, 3> deviation = noise.deviation();
    QString text = QStringLiteral("noise over %1 frames:").arg(noise.frames());
    const char* letters[3] = {"R", "G", "B"};
    for (std::size_t c = 0; c < 3; ++c) {
        const QString ratio =
            deviation[c] > 0 && means[c] > 0
                ? QStringLiteral("%1 dB").arg(20 * std::log10(means[c] / deviation[c]), 0, 'f', 1)
                : QStringLiteral("no noise");
        text += QStringLiteral("  %1 %2 (%3)")
                    .arg(QLatin1String(letters[c]))
                    .arg(deviation[c], 0, 'f', 2)
                    .arg(ratio);
    }
    return text;
}

} // namespace orvane
