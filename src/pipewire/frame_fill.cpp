// Frames for the node: RGB straight from the camera, YUY2 from its picture.
#include "frame_fill.h"

#include <libyuv/convert_from_argb.h>

namespace orvane {

std::size_t nodeRowBytes(NodeFormat format, uint32_t width) {
    return std::size_t(width) * (format == NodeFormat::Rgb ? 3 : 2);
}

Status fillFrame(Camera& camera, NodeFormat format, std::span<uint8_t> memory, std::size_t stride,
                 std::vector<uint8_t>& scratch, FrameInfo& info) {
    if (format == NodeFormat::Rgb)
        return camera.capture(PixelFormat::Rgb24, memory, stride, &info);
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
