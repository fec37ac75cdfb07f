// Raw samples of one pixel.
#include "pixel_readout.h"

namespace orvane {

std::string rawSampleText(std::span<const uint8_t> raw, uint32_t bytesPerLine, bool mosaic,
                          uint32_t x, uint32_t y) {
    const std::size_t line = std::size_t{y} * bytesPerLine;
    auto byteAt = [&](std::size_t column) -> unsigned {
        if (column >= bytesPerLine || line + column >= raw.size())
            return 0;
        return raw[line + column];
    };
    if (mosaic) {
        static constexpr const char* colours[2][2] = {{"green", "blue"}, {"red", "green"}};
        return "raw " + std::to_string(byteAt(x)) + " (" + colours[y % 2][x % 2] + ")";
    }
    const std::size_t group = 4 * std::size_t{x / 2};
    return "Y " + std::to_string(byteAt(group + 1 + 2 * (x % 2))) + " U " +
           std::to_string(byteAt(group + 2)) + " V " + std::to_string(byteAt(group));
}

} // namespace orvane
