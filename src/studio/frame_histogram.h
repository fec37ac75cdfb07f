// FrameHistogram: how often each level occurs in a converted frame, per colour and for luma.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {

enum class HistogramChannel : uint8_t { red, green, blue, luma };
constexpr std::size_t histogramChannels = 4;

struct FrameHistogram {
    std::array<std::array<uint32_t, 256>, histogramChannels> counts{};

    uint32_t count(HistogramChannel channel, uint8_t level) const {
        return counts[static_cast<std::size_t>(channel)][level];
    }
    // Pixels clipped dark and bright: the counts at 0 and at 255.
    uint32_t clippedLow(HistogramChannel channel) const { return count(channel, 0); }
    uint32_t clippedHigh(HistogramChannel channel) const { return count(channel, 255); }
};

// Luma of a pixel with the ITU-R BT.601 weights, rounded: (299 R + 587 G + 114 B + 500) / 1000.
constexpr uint8_t lumaOf(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint8_t>((299u * red + 587u * green + 114u * blue + 500u) / 1000u);
}

// The histogram of 0xFFRRGGBB pixels, as a QImage of RGB32 holds them.
FrameHistogram histogramOf(std::span<const uint32_t> xrgbPixels);

} // namespace orvane
