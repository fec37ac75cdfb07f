// Frame rows into caller memory.
#include "image/pixel_rows.h"

#include <cstring>

namespace orvane {
namespace {

std::size_t bytesPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::Rgb24:
    case PixelFormat::Bgr24:
        return 3;
    case PixelFormat::Xrgb32:
        return 4;
    case PixelFormat::Raw:
    case PixelFormat::Mosaic:
        return 1;
    }
    return 1;
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

void writeFrameRows(FrameBuffers& buffers, const FrameGeometry& geometry, PixelFormat format,
                    uint8_t* out, std::size_t stride) {
    const FrameLayout layout = frameLayout(geometry, format);
    if (format == PixelFormat::Raw || format == PixelFormat::Mosaic) {
        const uint8_t* raw = buffers.rawFrame().data();
        for (uint32_t y = 0; y < layout.height; ++y)
            std::memcpy(out + y * stride, raw + std::size_t{y} * geometry.bytesPerLine,
                        layout.rowBytes);
        return;
    }
    const uint8_t* red = buffers.redPlane().data();
    const uint8_t* green = buffers.greenPlane().data();
    const uint8_t* blue = buffers.bluePlane().data();
    const std::size_t width = geometry.imageWidth;
    for (uint32_t y = 0; y < layout.height; ++y) {
        const std::size_t first = y * width;
        uint8_t* row = out + y * stride;
        if (format == PixelFormat::Xrgb32) {
            for (std::size_t x = 0; x < width; ++x) {
                const uint32_t word = 0xFF000000u | uint32_t{red[first + x]} << 16 |
                                      uint32_t{green[first + x]} << 8 | blue[first + x];
                std::memcpy(row + 4 * x, &word, 4);
            }
            continue;
        }
        const uint8_t* near = format == PixelFormat::Rgb24 ? red : blue;
        const uint8_t* far = format == PixelFormat::Rgb24 ? blue : red;
        for (std::size_t x = 0; x < width; ++x) {
            row[3 * x] = near[first + x];
            row[3 * x + 1] = green[first + x];
            row[3 * x + 2] = far[first + x];
        }
    }
}

} // namespace orvane
