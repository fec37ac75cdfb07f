// Frame shape from the window and format registers.
#include "sim/frame_layout.h"

#include <array>

namespace orvane {
namespace {

struct FormatShape {
    FrameFormat format;
    uint32_t horizontalFactor; // pixels per window column step
    uint32_t verticalFactor;   // lines per window row
    uint32_t bytesPerPixel;
    uint32_t spareBytes;
};

// Indexed by whether the RGB bit is set.
constexpr std::array<FormatShape, 2> formatShapes{{
    {FrameFormat::Yuv422, 2, 1, 2, yuvSpareBytesPerLine},
    {FrameFormat::RgbMosaic, 4, 2, 1, rgbSpareBytesPerLine},
}};

} // namespace

SensorFrameLayout frameLayoutFor(const SensorRegisterFile& sensor) {
    const uint8_t commonA = sensor[SensorRegister::commonA];
    const FormatShape& shape = formatShapes[(commonA & commonARgbBit) != 0 ? 1 : 0];

    SensorFrameLayout layout;
    layout.format = shape.format;
    layout.mirror = (commonA & commonAMirrorBit) != 0;

    const uint32_t hs = sensor[SensorRegister::horizontalStart];
    const uint32_t he = sensor[SensorRegister::horizontalEnd];
    const uint32_t vs = sensor[SensorRegister::verticalStart];
    const uint32_t ve = sensor[SensorRegister::verticalEnd];
    if (he <= hs + 2 || ve < vs)
        return layout; // nothing to send

    layout.width = (he - hs - 2) * shape.horizontalFactor;
    layout.lines = (ve - vs + 1) * shape.verticalFactor;
    layout.bytesPerLine = layout.width * shape.bytesPerPixel + shape.spareBytes;
    return layout;
}

} // namespace orvane
