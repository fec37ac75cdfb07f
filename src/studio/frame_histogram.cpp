// Counting the levels of a frame.
#include "studio/frame_histogram.h"

namespace orvane {

FrameHistogram histogramOf(std::span<const uint8_t> rgbPixels) {
    FrameHistogram histogram;
    auto& [red, green, blue, luma] = histogram.counts;
    for (std::size_t i = 0; i + 2 < rgbPixels.size(); i += 3) {
        const uint8_t r = rgbPixels[i];
        const uint8_t g = rgbPixels[i + 1];
        const uint8_t b = rgbPixels[i + 2];
        ++red[r];
        ++green[g];
        ++blue[b];
        ++luma[lumaOf(r, g, b)];
    }
    return histogram;
}

} // namespace orvane
