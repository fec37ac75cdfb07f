// Counting the levels of a frame.
#include "frame_histogram.h"

namespace orvane {

FrameHistogram histogramOf(std::span<const uint32_t> xrgbPixels) {
    FrameHistogram histogram;
    auto& [red, green, blue, luma] = histogram.counts;
    for (const uint32_t pixel : xrgbPixels) {
        const auto r = static_cast<uint8_t>(pixel >> 16);
        const auto g = static_cast<uint8_t>(pixel >> 8);
        const auto b = static_cast<uint8_t>(pixel);
        ++red[r];
        ++green[g];
        ++blue[b];
        ++luma[lumaOf(r, g, b)];
    }
    return histogram;
}

} // namespace orvane
