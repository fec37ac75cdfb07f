// SensorFrameLayout: the shape of the frame the simulated sensor sends, read from its window and
// format registers the same way the panel derives its capture geometry from the window it sent.
#pragma once

#include <cstdint>

#include "sim/sensor_register_file.h"

namespace orvane {

constexpr uint8_t commonARgbBit = 0x08;    // RGB mosaic instead of YUV 4:2:2
constexpr uint8_t commonAMirrorBit = 0x40; // scene flipped left-right

enum class FrameFormat : uint8_t {
    Yuv422,    // per pixel pair: V, Y (left), U, Y (right)
    RgbMosaic, // one sample per pixel; even lines green/blue, odd lines red/green
};

// Bytes that follow the image bytes of every line.
constexpr uint32_t yuvSpareBytesPerLine = 2;
constexpr uint32_t rgbSpareBytesPerLine = 3;

struct SensorFrameLayout {
    FrameFormat format = FrameFormat::Yuv422;
    bool mirror = false;
    uint32_t width = 0;        // pixels per line
    uint32_t lines = 0;        // lines per frame
    uint32_t bytesPerLine = 0; // image bytes and spare bytes

    uint32_t imageBytesPerLine() const { return format == FrameFormat::Yuv422 ? 2 * width : width; }
    uint32_t spareBytesPerLine() const { return bytesPerLine - imageBytesPerLine(); }
    uint32_t frameBytes() const { return lines * bytesPerLine; }
    bool empty() const { return frameBytes() == 0; }

    friend bool operator==(const SensorFrameLayout&, const SensorFrameLayout&) = default;
};

// YUV: (HE - HS - 2) x 2 pixels, VE - VS + 1 lines, 2 x width + 2 bytes per line.
// RGB: (HE - HS - 2) x 4 pixels, (VE - VS + 1) x 2 lines, width + 3 bytes per line.
// A window whose end is not past its start (HE <= HS + 2, VE < VS) gives an empty frame: no
// pixels, no lines, no bytes. The 8-bit registers bound the rest to maxSimulatedFrameBytes.
SensorFrameLayout frameLayoutFor(const SensorRegisterFile& sensor);

// The largest frame any register setting can ask for: RGB, window 0..255 both ways.
constexpr uint32_t maxSimulatedFrameWidth = (255 - 0 - 2) * 4;
constexpr uint32_t maxSimulatedFrameLines = (255 - 0 + 1) * 2;
constexpr uint32_t maxSimulatedFrameBytes =
    maxSimulatedFrameLines * (maxSimulatedFrameWidth + rgbSpareBytesPerLine);

} // namespace orvane
