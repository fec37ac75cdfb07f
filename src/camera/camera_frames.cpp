// Camera captures into caller memory.
#include <chrono>
#include <vector>

#include "camera/camera_parts.h"
#include "image/live_frame.h"
#include "image/pixel_rows.h"

namespace orvane {
Status Camera::layout(PixelFormat format, FrameLayout& layout) const {
    const CameraDevice& device = parts_->device;
    if (format == PixelFormat::Mosaic && device.shadow.mode.dataFormat != dataFormatRgb)
        return {StatusCode::InvalidArgument,
                "the colour mosaic exists only in the rgb format; set format to rgb first"};
    if (format == PixelFormat::Vyuy && device.shadow.mode.dataFormat == dataFormatRgb)
        return {StatusCode::InvalidArgument,
                "4:2:2 bytes exist only in the yuv format; set format to yuv first"};
    const FrameGeometry& g = device.geometry;
    // The row conversion works in rows of at most maxFrameWidth pixels.
    if (!frameFitsBuffers(g, device.shadow.mode.dataFormat) || g.imageWidth > maxFrameWidth)
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
    const FrameTarget target{format, memory.data(), memory.size(), stride};
    return capture(std::span<const FrameTarget>(&target, 1), info);
}

Status Camera::capture(std::span<const FrameTarget> targets, FrameInfo* info,
                       CaptureProgress* progress) {
    for (const FrameTarget& target : targets) {
        FrameLayout shape;
        if (Status status = layout(target.format, shape); !status)
            return status;
        const std::size_t stride = target.stride == 0 ? shape.rowBytes : target.stride;
        const std::size_t needed = stride * (shape.height - 1) + shape.rowBytes;
        if (stride < shape.rowBytes || target.memory == nullptr || target.size < needed)
            return {StatusCode::DoesNotFit,
                    "a frame of " + std::to_string(shape.width) + " x " +
                        std::to_string(shape.height) + " needs rows of at least " +
                        std::to_string(shape.rowBytes) + " bytes and " + std::to_string(needed) +
                        " bytes in all; the memory given has " + std::to_string(target.size) +
                        " bytes with rows of " + std::to_string(stride)};
    }

    CameraDevice& device = parts_->device;
    const bool mosaic = device.shadow.mode.dataFormat == dataFormatRgb;
    const FrameGeometry& geometry = device.geometry;
    // Each target's rows written so far: the progress converts what has arrived, the end the rest.
    std::vector<uint32_t> rowsWritten(targets.size(), 0);
    std::chrono::steady_clock::duration converting{};
    const auto convertUpTo = [&](uint32_t lines) {
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const FrameTarget& target = targets[i];
            const uint32_t rows = rowsFromLines(geometry, mosaic, target.format, lines);
            if (rows <= rowsWritten[i])
                continue;
            writeFrameRows(
                device.buffers.rawFrame(), geometry, mosaic, target.format, target.memory,
                target.stride == 0 ? frameLayout(geometry, target.format).rowBytes : target.stride,
                parts_->cpu, rowsWritten[i], rows);
            rowsWritten[i] = rows;
        }
        converting += std::chrono::steady_clock::now() - start;
    };
    std::chrono::steady_clock::duration following{};
    auto told = std::chrono::steady_clock::now();
    LinesRead linesRead;
    if (progress != nullptr && !targets.empty()) {
        linesRead = [&](uint32_t lines) {
            const auto now = std::chrono::steady_clock::now();
            if (lines >= geometry.linesToRead || now - told < progress->interval())
                return;
            convertUpTo(lines);
            progress->rowsArrived(rowsWritten.front(),
                                  frameLayout(geometry, targets.front().format).height);
            told = std::chrono::steady_clock::now();
            following += told - now;
        };
    }
    const auto portStart = std::chrono::steady_clock::now();
    device.capture(nullptr, linesRead);
    const double portMilliseconds = std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - portStart - following)
                                        .count();
    convertUpTo(geometry.linesToRead);
    ++parts_->sequence;
    if (info != nullptr && !targets.empty()) {
        const FrameTarget& first = targets.front();
        const FrameLayout shape = frameLayout(device.geometry, first.format);
        *info = {first.format,
                 shape.width,
                 shape.height,
                 first.stride == 0 ? shape.rowBytes : first.stride,
                 mosaic,
                 device.geometry.linesToRead,
                 device.geometry.bytesPerLine,
                 parts_->sequence,
                 portMilliseconds,
                 std::chrono::duration<double, std::milli>(converting).count()};
    }
    return {};
}

} // namespace orvane
