// Per-channel mean, minimum and maximum of a rectangle of the picture, for the selection.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <array>

namespace orvane {

struct ChannelStats {
    double mean = 0;
    int minimum = 0;
    int maximum = 0;
};

struct RegionStats {
    QRect area;                        // the part of the rectangle inside the image
    std::array<ChannelStats, 3> rgb{}; // red, green, blue
};

// Over the pixels of area that lie in image (RGB32); an empty area when none does.
RegionStats regionStats(const QImage& image, const QRect& area);

// "Selection 40 x 30 at (10, 20): R 120.3 (10-250)  G ...  B ..."
QString regionStatsText(const RegionStats& stats);

} // namespace orvane
