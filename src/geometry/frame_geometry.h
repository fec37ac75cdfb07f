// FrameGeometry: the shape of the frame the camera is expected to deliver, and the sensor's
// data-format codes that say whether its bytes are YUV 4:2:2 or the colour mosaic.
#pragma once

#include <cstdint>

namespace orvane {

// Data-format codes: YUV 4:2:2 pairs, or the colour mosaic's raw cells.
constexpr uint8_t dataFormatYuv = 0x00;
constexpr uint8_t dataFormatRgb = 0x08;

struct FrameGeometry {
    uint32_t imageWidth = 312;   // pixels per image line, the BMP width
    uint32_t imageHeight = 208;  // image lines, the BMP height
    uint32_t linesToRead = 208;  // lines the capture reads
    uint32_t bytesPerLine = 625; // bytes the capture reads per line

    friend bool operator==(const FrameGeometry&, const FrameGeometry&) = default;
};

// The fixed geometry the camera reset leaves until the next Set Register or YUV selection.
constexpr FrameGeometry resetFrameGeometry{324, 242, 242, 327};

} // namespace orvane
