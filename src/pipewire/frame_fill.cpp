// Frames for the node: RGB straight from the camera, YUY2 from its 4:2:2 bytes or its picture.
#include "frame_fill.h"

#include <libyuv/convert_from_argb.h>

namespace orvane {
namespace {

// V Y0 U Y1 -> Y0 U Y1 V, in place.
void vyuyToYuy2(uint8_t* row, uint32_t width) {
    for (uint32_t pair = 0; pair + 1 < width; pair += 2, row += 4) {
        const uint8_t v = row[0];
        row[0] = row[1];
        row[1] = row[2];
        row[2] = row[3];
        row[3] = v;
    }
}

} // namespace

std::size_t nodeRowBytes(NodeFormat format, uint32_t width) {
    return std::size_t(width) * (format == NodeFormat::Rgb ? 3 : 2);
}

Status fillFrame(Camera& camera, NodeFormat format, std::span<uint8_t> memory, std::size_t stride,
                 std::vector<uint8_t>& scratch, FrameInfo& info) {
    if (format == NodeFormat::Rgb)
        return camera.capture(PixelFormat::Rgb24, memory, stride, &info);
    FrameLayout samples;
    if (camera.layout(PixelFormat::Vyuy, samples)) {
        Status status = camera.capture(PixelFormat::Vyuy, memory, stride, &info);
        if (status || status.code() == StatusCode::NoSignal) {
            for (uint32_t y = 0; y < info.height; ++y)
                vyuyToYuy2(memory.data() + y * stride, info.width);
        }
        return status;
    }
    FrameLayout picture;
    if (Status status = camera.layout(PixelFormat::Xrgb32, picture); !status)
        return status;
    if (stride < nodeRowBytes(format, picture.width) || memory.size() < stride * picture.height)
        return {StatusCode::DoesNotFit, "the buffer is too small for a frame of " +
                                            std::to_string(picture.width) + " x " +
                                            std::to_string(picture.height)};
    scratch.resize(picture.bytes);
    Status status = camera.capture(PixelFormat::Xrgb32, scratch, picture.rowBytes, &info);
    if (status || status.code() == StatusCode::NoSignal)
        libyuv::ARGBToYUY2(scratch.data(), int(picture.rowBytes), memory.data(), int(stride),
                           int(picture.width), int(picture.height));
    return status;
}

} // namespace orvane
