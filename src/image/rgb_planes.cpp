// Colour-mosaic split and weighted interpolation of the RGB mode's planes.
#include "image/rgb_planes.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane {
namespace {

// Weights of one interpolated output row between sample rows a and c, applied to
// (a_m, a_m+1, c_m, c_m+1); each set sums to 10. The row's end pixels copy the first and last
// sample of a, or of c when endsFromSecondRow.
struct RowWeights {
    std::array<uint32_t, 4> oddPixel;  // pixel 2m + 1
    std::array<uint32_t, 4> evenPixel; // pixel 2m + 2
    bool endsFromSecondRow;
};

constexpr RowWeights upperChromaRow{{5, 2, 2, 1}, {2, 5, 1, 2}, false};
constexpr RowWeights lowerChromaRow{{2, 1, 5, 2}, {1, 2, 2, 5}, true};
constexpr RowWeights greenRow{{4, 2, 3, 1}, {2, 4, 1, 3}, false};

using Row = std::span<const uint8_t>;

uint8_t weighted(const std::array<uint32_t, 4>& w, Row a, Row c, std::size_t m) {
    const uint32_t sum = w[0] * a[m] + w[1] * a[m + 1] + w[2] * c[m] + w[3] * c[m + 1];
    return static_cast<uint8_t>(sum / 10);
}

// Builds one output row of 2 x a.size() pixels into out.
void interpolateRow(Row a, Row c, const RowWeights& weights, std::span<uint8_t> out) {
    const std::size_t half = a.size();
    const Row ends = weights.endsFromSecondRow ? c : a;
    out[0] = ends[0];
    for (std::size_t m = 0; m + 1 < half; ++m) {
        out[2 * m + 1] = weighted(weights.oddPixel, a, c, m);
        out[2 * m + 2] = weighted(weights.evenPixel, a, c, m);
    }
    out[2 * half - 1] = ends[half - 1];
}

void doubleRow(Row samples, std::span<uint8_t> out) {
    for (std::size_t m = 0; m < samples.size(); ++m) {
        out[2 * m] = samples[m];
        out[2 * m + 1] = samples[m];
    }
}

// One raw line into a work line; what the line lacks up to `width` counts as 0.
void loadLine(std::span<const uint8_t> raw, std::size_t bytesPerLine, std::size_t width,
              std::span<uint8_t> work) {
    std::copy_n(raw.begin(), bytesPerLine, work.begin());
    if (bytesPerLine < width)
        std::fill_n(work.begin() + static_cast<std::ptrdiff_t>(bytesPerLine), width - bytesPerLine,
                    uint8_t{0});
}

struct Shape {
    std::size_t width;
    std::size_t height;
    std::size_t half; // samples per sample row
};

// Blue and red: sample rows k and k + 1 give output rows 2 + 2k and 3 + 2k.
void fillChromaPlane(std::span<const uint8_t> samples, std::span<uint8_t> plane,
                     FrameBuffers& buffers, const Shape& s) {
    const std::size_t sampleRows = s.height / 2;
    auto sampleRow = [&](std::size_t k) { return samples.subspan(k * s.half, s.half); };
    auto planeRow = [&](std::size_t r) { return plane.subspan(r * s.width, s.width); };
    const std::span<uint8_t> workA = buffers.lineA().first(s.width);
    const std::span<uint8_t> workB = buffers.lineB().first(s.width);

    doubleRow(sampleRow(0), planeRow(0));
    // A 2-line frame has no second sample row: row 1 repeats row 0.
    doubleRow(sampleRow(sampleRows > 1 ? 1 : 0), planeRow(1));
    for (std::size_t k = 0; k + 1 < sampleRows; ++k) {
        interpolateRow(sampleRow(k), sampleRow(k + 1), upperChromaRow, workA);
        std::copy(workA.begin(), workA.end(), planeRow(2 + 2 * k).begin());
        interpolateRow(sampleRow(k), sampleRow(k + 1), lowerChromaRow, workB);
        std::copy(workB.begin(), workB.end(), planeRow(3 + 2 * k).begin());
    }
    // An odd line count leaves the last row without a sample pair: it repeats the row above, so
    // no output row keeps what an earlier frame left.
    if (s.height % 2 == 1 && s.height > 2) {
        const std::span<uint8_t> above = planeRow(s.height - 2);
        std::copy(above.begin(), above.end(), planeRow(s.height - 1).begin());
    }
}

// Green: sample rows r and r + 1 give output row 2 + r.
void fillGreenPlane(std::span<const uint8_t> samples, std::span<uint8_t> plane,
                    FrameBuffers& buffers, const Shape& s) {
    auto sampleRow = [&](std::size_t r) { return samples.subspan(r * s.half, s.half); };
    auto planeRow = [&](std::size_t r) { return plane.subspan(r * s.width, s.width); };
    const std::span<uint8_t> work = buffers.lineA().first(s.width);

    doubleRow(sampleRow(0), planeRow(0));
    doubleRow(sampleRow(1), planeRow(1));
    for (std::size_t r = 0; r + 2 < s.height; ++r) {
        interpolateRow(sampleRow(r), sampleRow(r + 1), greenRow, work);
        std::copy(work.begin(), work.end(), planeRow(2 + r).begin());
    }
}

} // namespace

bool rgbFrameFits(const FrameGeometry& geometry) {
    const std::size_t width = geometry.imageWidth;
    const std::size_t height = geometry.imageHeight;
    const std::size_t bytesPerLine = geometry.bytesPerLine;
    return width >= 2 && height >= 2 && width <= lineBufferSize && bytesPerLine <= lineBufferSize &&
           height <= frameBufferSize / std::max<std::size_t>(bytesPerLine, 1) &&
           width * height <= frameBufferSize;
}

void reconstructRgbPlanes(FrameBuffers& buffers, const FrameGeometry& geometry) {
    if (!rgbFrameFits(geometry))
        return;
    const Shape s{geometry.imageWidth, geometry.imageHeight, geometry.imageWidth / 2u};
    const std::size_t bytesPerLine = geometry.bytesPerLine;
    const std::span<const uint8_t> raw = buffers.rawFrame();
    const std::span<uint8_t> lineA = buffers.lineA();
    const std::span<uint8_t> lineB = buffers.lineB();
    const std::span<uint8_t> blue = buffers.blueSamples();
    const std::span<uint8_t> green = buffers.greenSamples();
    const std::span<uint8_t> red = buffers.redSamples();

    // Even lines: green, blue, green, blue...; odd lines: red, green, red, green...
    for (std::size_t p = 0; p < s.height / 2; ++p) {
        loadLine(raw.subspan(2 * p * bytesPerLine, bytesPerLine), bytesPerLine, s.width, lineA);
        loadLine(raw.subspan((2 * p + 1) * bytesPerLine, bytesPerLine), bytesPerLine, s.width,
                 lineB);
        for (std::size_t m = 0; m < s.half; ++m) {
            green[2 * p * s.half + m] = lineA[2 * m];
            blue[p * s.half + m] = lineA[2 * m + 1];
            red[p * s.half + m] = lineB[2 * m];
            green[(2 * p + 1) * s.half + m] = lineB[2 * m + 1];
        }
    }

    fillChromaPlane(blue, buffers.bluePlane(), buffers, s);
    fillGreenPlane(green, buffers.greenPlane(), buffers, s);
    fillChromaPlane(red, buffers.redPlane(), buffers, s);
}

} // namespace orvane
