// The selection's temporal noise: per channel, how much each pixel varies over the last frames
// (the standard deviation, its variance averaged over the selection) and the signal-to-noise
// ratio that gives against the selection's mean.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace orvane {

class TemporalNoise {
public:
    // How many frames the figures span at most.
    static constexpr int depth = 16;

    // The frame's pixels of area (RGB32); another area or picture size starts over.
    void add(const QImage& image, const QRect& area);
    void clear();
    int frames() const { return int(frames_.size()); }
    // Red, green, blue; zeros until two frames are in.
    std::array<double, 3> deviation() const;

private:
    QRect area_;
    QSize imageSize_;
    std::deque<std::vector<uint8_t>> frames_; // the area's pixels, red, green, blue
    std::vector<uint32_t> sums_;
    std::vector<uint32_t> squares_;
};

// "noise over 16 frames: R 0.52 (46.1 dB)  G ...  B ..." for the selection's means; empty with
// fewer than two frames.
QString temporalNoiseText(const TemporalNoise& noise, const std::array<double, 3>& means);

} // namespace orvane
