// Mean, minimum and maximum of each channel over a rectangle of the picture.
#include "region_stats.h"

#include <algorithm>

namespace orvane {

RegionStats regionStats(const QImage& image, const QRect& area) {
    RegionStats stats;
    stats.area = area.normalized().intersected(image.rect());
    if (stats.area.isEmpty() || image.format() != QImage::Format_RGB32)
        return {};
    std::array<uint64_t, 3> sums{};
    std::array<int, 3> lows{255, 255, 255};
    std::array<int, 3> highs{};
    for (int y = stats.area.top(); y <= stats.area.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = stats.area.left(); x <= stats.area.right(); ++x) {
            const int channels[3] = {qRed(row[x]), qGreen(row[x]), qBlue(row[x])};
            for (std::size_t c = 0; c < 3; ++c) {
                sums[c] += uint64_t(channels[c]);
                lows[c] = std::min(lows[c], channels[c]);
                highs[c] = std::max(highs[c], channels[c]);
            }
        }
    }
    const double pixels = double(stats.area.width()) * stats.area.height();
    for (std::size_t c = 0; c < 3; ++c)
        stats.rgb[c] = {double(sums[c]) / pixels, lows[c], highs[c]};
    return stats;
}

QString regionStatsText(const RegionStats& stats) {
    if (stats.area.isEmpty())
        return {};
    QString text = QStringLiteral("Selection %1 x %2 at (%3, %4):")
                       .arg(stats.area.width())
                       .arg(stats.area.height())
                       .arg(stats.area.left())
                       .arg(stats.area.top());
    const char* letters[3] = {"R", "G", "B"};
    for (std::size_t c = 0; c < 3; ++c)
        text += QStringLiteral("  %1 %2 (%3-%4)")
                    .arg(QLatin1String(letters[c]))
                    .arg(stats.rgb[c].mean, 0, 'f', 1)
                    .arg(stats.rgb[c].minimum)
                    .arg(stats.rgb[c].maximum);
    return text;
}

} // namespace orvane
