// 4:2:2 YUV to RGB planes, in integer arithmetic that matches the single-precision constant.
#include "image/yuv422_to_rgb.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace orvane {
namespace {

// Green's formula scaled by 2^26, where both 0.5 and the single-precision 0.16666667 are whole
// numbers: the scaled value is exact in 64 bits, and an arithmetic shift floors it.
constexpr int greenShift = 26;
constexpr int64_t halfScaled = int64_t{1} << (greenShift - 1);
constexpr int64_t kScaled = 11184811; // 0.16666667f x 2^26, exactly

uint8_t clampToByte(int64_t value) {
    return value < 0 ? uint8_t{0} : value > 255 ? uint8_t{255} : static_cast<uint8_t>(value);
}

// Below zero the clamp gives 0 whichever way the fraction went; from 0 up, flooring (the
// arithmetic shift) is the truncation toward zero.
uint8_t greenFrom(int y, int64_t scaledChroma) {
    return clampToByte(((int64_t{y} << greenShift) + scaledChroma) >> greenShift);
}

} // namespace

void Yuv422ToRgb(std::span<const uint8_t> source, std::span<uint8_t> greenPlane,
                 std::span<uint8_t> bluePlane, std::span<uint8_t> redPlane, uint32_t lines,
                 uint32_t width, uint32_t bytesPerLine) {
    if (width == 0 || lines == 0)
        return;
    const std::size_t pixelsPerLine = width;
    const std::size_t smallestPlane =
        std::min({greenPlane.size(), bluePlane.size(), redPlane.size()});
    const std::size_t rows = std::min<std::size_t>(lines, smallestPlane / pixelsPerLine);

    // One line of whole groups; whatever the source does not supply stays 0.
    const std::size_t usedBytes = 2 * pixelsPerLine;
    const std::size_t groups = (pixelsPerLine + 1) / 2;
    std::vector<uint8_t> workLine(4 * groups);

    for (std::size_t line = 0; line < rows; ++line) {
        const std::size_t lineStart = line * std::size_t{bytesPerLine};
        const std::size_t copied =
            lineStart < source.size()
                ? std::min({std::size_t{bytesPerLine}, usedBytes, source.size() - lineStart})
                : std::size_t{0};
        const auto lineEnd = copied == 0
                                 ? workLine.begin()
                                 : std::copy_n(source.data() + lineStart, copied, workLine.begin());
        std::fill(lineEnd, workLine.end(), uint8_t{0});

        const std::size_t rowStart = line * pixelsPerLine;
        uint8_t* red = redPlane.data() + rowStart;
        uint8_t* green = greenPlane.data() + rowStart;
        uint8_t* blue = bluePlane.data() + rowStart;
        for (std::size_t x = 0; x < pixelsPerLine; ++x) {
            const uint8_t* group = workLine.data() + 4 * (x / 2);
            const int c = int{group[0]} - 128;
            const int y = group[1 + 2 * (x % 2)];
            const int u = int{group[2]} - 128;
            red[x] = clampToByte(y + c);
            blue[x] = clampToByte(y + u);
            green[x] = greenFrom(y, -halfScaled * c - kScaled * u);
        }
    }
}

} // namespace orvane
