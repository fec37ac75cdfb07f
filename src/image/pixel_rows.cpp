// Frame rows into caller memory.
#include "image/pixel_rows.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "image/avx2_support.h"
#include "image/rgb_planes.h"
#include "image/yuv422_to_rgb.h"

namespace orvane {
namespace {

std::size_t bytesPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::Rgb24:
    case PixelFormat::Bgr24:
        return 3;
    case PixelFormat::Xrgb32:
        return 4;
    case PixelFormat::Vyuy:
        return 2;
    case PixelFormat::Raw:
    case PixelFormat::Mosaic:
        return 1;
    }
    return 1;
}

// One row of each colour into the caller's pixels.
template <PixelFormat format>
inline void interleaveRowPortable(const RgbRow& in, std::size_t width, uint8_t* __restrict out) {
    const uint8_t* __restrict red = in.red;
    const uint8_t* __restrict green = in.green;
    const uint8_t* __restrict blue = in.blue;
    if constexpr (format == PixelFormat::Xrgb32) {
        for (std::size_t x = 0; x < width; ++x) {
            const uint32_t word =
                0xFF000000u | uint32_t{red[x]} << 16 | uint32_t{green[x]} << 8 | uint32_t{blue[x]};
            std::memcpy(out + 4 * x, &word, 4);
        }
    } else {
        const uint8_t* __restrict first = format == PixelFormat::Rgb24 ? red : blue;
        const uint8_t* __restrict last = format == PixelFormat::Rgb24 ? blue : red;
        for (std::size_t x = 0; x < width; ++x) {
            out[3 * x] = first[x];
            out[3 * x + 1] = green[x];
            out[3 * x + 2] = last[x];
        }
    }
}

#if ORVANE_AVX2_LOOPS
template <PixelFormat format>
__attribute__((target("avx2"))) void interleaveRowAvx2(const RgbRow& in, std::size_t width,
                                                       uint8_t* out) {
    interleaveRowPortable<format>(in, width, out);
}
#endif

// The row interleaving of format, chosen once for a whole call.
using InterleaveRow = void (*)(const RgbRow& in, std::size_t width, uint8_t* out);
InterleaveRow interleaveFor(PixelFormat format, CpuFeatures cpu) {
    if (format == PixelFormat::Xrgb32)
        return chosenRow<InterleaveRow>(cpu.avx2, interleaveRowPortable<PixelFormat::Xrgb32>,
                                        ORVANE_AVX2_ROW(interleaveRowAvx2<PixelFormat::Xrgb32>));
    if (format == PixelFormat::Bgr24)
        return chosenRow<InterleaveRow>(cpu.avx2, interleaveRowPortable<PixelFormat::Bgr24>,
                                        ORVANE_AVX2_ROW(interleaveRowAvx2<PixelFormat::Bgr24>));
    return chosenRow<InterleaveRow>(cpu.avx2, interleaveRowPortable<PixelFormat::Rgb24>,
                                    ORVANE_AVX2_ROW(interleaveRowAvx2<PixelFormat::Rgb24>));
}

} // namespace

FrameLayout frameLayout(const FrameGeometry& geometry, PixelFormat format) {
    FrameLayout layout;
    const bool raw = format == PixelFormat::Raw;
    layout.width = raw ? geometry.bytesPerLine : geometry.imageWidth;
    layout.height = raw ? geometry.linesToRead : geometry.imageHeight;
    layout.rowBytes = std::size_t{layout.width} * bytesPerPixel(format);
    layout.bytes = layout.rowBytes * layout.height;
    return layout;
}

uint32_t rowsFromLines(const FrameGeometry& geometry, bool mosaic, PixelFormat format,
                       uint32_t lines) {
    const FrameLayout layout = frameLayout(geometry, format);
    if (lines >= geometry.linesToRead)
        return layout.height;
    const bool interpolated = mosaic && format != PixelFormat::Raw && format != PixelFormat::Mosaic;
    // Row y of the mosaic's picture needs line y + 1, and rows 0 and 1 lines 0 to 3.
    if (interpolated)
        return lines >= 4 ? std::min(layout.height, lines - 1) : 0;
    return std::min(layout.height, lines);
}

void writeFrameRows(std::span<const uint8_t> raw, const FrameGeometry& geometry, bool mosaic,
                    PixelFormat format, uint8_t* out, std::size_t stride, CpuFeatures cpu,
                    uint32_t from, uint32_t to) {
    const FrameLayout layout = frameLayout(geometry, format);
    to = std::min(to, layout.height);
    if (format == PixelFormat::Raw || format == PixelFormat::Mosaic) {
        for (uint32_t y = from; y < to; ++y)
            std::memcpy(out + y * stride, raw.data() + std::size_t{y} * geometry.bytesPerLine,
                        layout.rowBytes);
        return;
    }
    if (format == PixelFormat::Vyuy) {
        // The pixel bytes lead each line; a line shorter than the row ends in zeros.
        for (uint32_t y = from; y < to; ++y) {
            const std::size_t start = std::size_t{y} * geometry.bytesPerLine;
            const std::size_t available = start < raw.size()
                                              ? std::min({std::size_t{geometry.bytesPerLine},
                                                          raw.size() - start, layout.rowBytes})
                                              : 0;
            uint8_t* row = out + y * stride;
            if (available > 0)
                std::memcpy(row, raw.data() + start, available);
            std::memset(row + available, 0, layout.rowBytes - available);
        }
        return;
    }
    // Each row is converted into three rows that stay in the first-level cache and then
    // interleaved straight into the caller's row.
    // Two sets, as the mosaic makes its rows two at a time.
    std::array<std::array<uint8_t, maxFrameWidth>, 6> work;
    const RgbRow sets[2] = {{work[0].data(), work[1].data(), work[2].data()},
                            {work[3].data(), work[4].data(), work[5].data()}};
    const RgbRow& row = sets[0];
    const std::size_t width = geometry.imageWidth;
    if (width > maxFrameWidth)
        return;
    const InterleaveRow interleave = interleaveFor(format, cpu);
    if (mosaic) {
        MosaicRows rows(raw, geometry, cpu);
        rows.each([&](std::size_t y) { return sets[y % 2]; },
                  [&](std::size_t y) { interleave(sets[y % 2], width, out + y * stride); }, from,
                  to);
        return;
    }
    const YuvGroups groups = yuvGroupsFor(cpu);
    for (uint32_t y = from; y < to; ++y) {
        const std::size_t start = std::size_t{y} * geometry.bytesPerLine;
        const std::size_t available =
            start < raw.size() ? std::min<std::size_t>(geometry.bytesPerLine, raw.size() - start)
                               : 0;
        convertYuvRow(raw.data() + std::min(start, raw.size()), available, geometry.imageWidth, row,
                      groups);
        interleave(row, width, out + y * stride);
    }
}

} // namespace orvane
