// Camera captures into caller memory.
#include <chrono>

#include "camera/camera_parts.h"
#include "image/live_frame.h"
#include "image/pixel_rows.h"

namespace orvane {
namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

Status Camera::layout(PixelFormat format, FrameLayout& layout) const {
    const CameraDevice& device = parts_->device;
    if (format == PixelFormat::Mosaic && device.shadow.mode.dataFormat != dataFormatRgb)
        return {StatusCode::InvalidArgument,
                "the colour mosaic exists only in the rgb format; set format to rgb first"};
    const FrameGeometry& g = device.geometry;
    if (!frameFitsBuffers(g, device.shadow.mode.dataFormat))
        return {StatusCode::DoesNotFit,
                "the window gives a frame of " + std::to_string(g.imageWidth) + " x " +
                    std::to_string(g.imageHeight) + " pixels (" + std::to_string(g.linesToRead) +
                    " lines of " + std::to_string(g.bytesPerLine) +
                    " bytes), which does not fit the frame buffers; set a smaller window"};
    layout = frameLayout(g, format);
    return {};
}

Status Camera::capture(PixelFormat format, std::span<uint8_t> memory, std::size_t stride,
                       FrameInfo* info) {
    FrameLayout shape;
    if (Status status = layout(format, shape); !status)
        return status;
    if (stride == 0)
        stride = shape.rowBytes;
    const std::size_t needed = stride * (shape.height - 1) + shape.rowBytes;
    if (stride < shape.rowBytes || memory.size() < needed)
        return {StatusCode::DoesNotFit,
                "a frame of " + std::to_string(shape.width) + " x " + std::to_string(shape.height) +
                    " needs rows of at least " + std::to_string(shape.rowBytes) + " bytes and " +
                    std::to_string(needed) + " bytes in all; the memory given has " +
                    std::to_string(memory.size()) + " bytes with rows of " +
                    std::to_string(stride)};

    CameraDevice& device = parts_->device;
    const auto portStart = std::chrono::steady_clock::now();
    device.capture();
    const double portMilliseconds = millisecondsSince(portStart);
    const auto conversionStart = std::chrono::steady_clock::now();
    if (format != PixelFormat::Raw && format != PixelFormat::Mosaic)
        device.convert();
    writeFrameRows(device.buffers, device.geometry, format, memory.data(), stride);
    if (info != nullptr) {
        *info = {format,
                 shape.width,
                 shape.height,
                 stride,
                 device.shadow.mode.dataFormat == dataFormatRgb,
                 device.geometry.linesToRead,
                 device.geometry.bytesPerLine,
                 ++parts_->sequence,
                 portMilliseconds,
                 millisecondsSince(conversionStart)};
    } else {
        ++parts_->sequence;
    }
    return {};
}

} // namespace orvane
