// Camera captures into caller memory.
#include <chrono>
#include <vector>

#include "camera/camera_parts.h"
#include "image/frame_signal.h"
#include "image/live_frame.h"
#include "image/pixel_rows.h"

namespace orvane {
namespace {

bool knownFormat(PixelFormat format) {
    return static_cast<uint8_t>(format) <= static_cast<uint8_t>(PixelFormat::Vyuy);
}

// Where a target's rows go, checked before anything is sent: no size arithmetic may wrap.
Status checkTarget(const FrameTarget& target, const FrameLayout& shape) {
    const std::string frame =
        "a frame of " + std::to_string(shape.width) + " x " + std::to_string(shape.height);
    if (target.memory == nullptr)
        return {StatusCode::InvalidArgument, "the memory given for " + frame + " is null"};
    const std::size_t stride = target.stride == 0 ? shape.rowBytes : target.stride;
    if (stride < shape.rowBytes)
        return {StatusCode::InvalidArgument, "a stride of " + std::to_string(stride) +
                                                 " bytes is shorter than a row of " + frame + ", " +
                                                 std::to_string(shape.rowBytes) + " bytes"};
    std::size_t needed = 0;
    if (__builtin_mul_overflow(stride, std::size_t{shape.height} - 1, &needed) ||
        __builtin_add_overflow(needed, shape.rowBytes, &needed))
        return {StatusCode::DoesNotFit, frame + " with rows " + std::to_string(stride) +
                                            " bytes apart needs more memory than there is"};
    uintptr_t end = 0;
    if (__builtin_add_overflow(reinterpret_cast<uintptr_t>(target.memory), target.size, &end))
        return {StatusCode::InvalidArgument,
                "the memory given runs past the end of the address space"};
    if (target.size < needed)
        return {StatusCode::DoesNotFit,
                frame + " needs rows of at least " + std::to_string(shape.rowBytes) +
                    " bytes and " + std::to_string(needed) +
                    " bytes in all; the memory given has " + std::to_string(target.size) +
                    " bytes with rows of " + std::to_string(stride)};
    return {};
}

} // namespace

Status layoutOf(uint8_t dataFormat, const FrameGeometry& g, PixelFormat format,
                FrameLayout& layout) {
    if (!knownFormat(format))
        return {StatusCode::InvalidArgument,
                "pixel format " + std::to_string(static_cast<int>(format)) +
                    " is not one of the library's (Raw, Rgb24, Bgr24, Xrgb32, Mosaic, Vyuy)"};
    if (format == PixelFormat::Mosaic && dataFormat != dataFormatRgb)
        return {StatusCode::InvalidArgument,
                "the colour mosaic exists only in the rgb format; set format to rgb first"};
    if (format == PixelFormat::Vyuy && dataFormat == dataFormatRgb)
        return {StatusCode::InvalidArgument,
                "4:2:2 bytes exist only in the yuv format; set format to yuv first"};
    // The row conversion works in rows of at most maxFrameWidth pixels.
    if (!frameFitsBuffers(g, dataFormat) || g.imageWidth > maxFrameWidth)
        return {StatusCode::DoesNotFit,
                "the window gives a frame of " + std::to_string(g.imageWidth) + " x " +
                    std::to_string(g.imageHeight) + " pixels (" + std::to_string(g.linesToRead) +
                    " lines of " + std::to_string(g.bytesPerLine) +
                    " bytes), which does not fit the frame buffers; set a smaller window"};
    layout = frameLayout(g, format);
    return {};
}

Status Camera::layout(PixelFormat format, FrameLayout& layout) const {
    const CallGuard guard(parts().calls, CallGuard::Kind::Reads);
    const CameraDevice& device = parts().device;
    return layoutOf(device.shadow.mode.dataFormat, device.geometry, format, layout);
}

Status Camera::capture(PixelFormat format, std::span<uint8_t> memory, std::size_t stride,
                       FrameInfo* info) {
    const FrameTarget target{format, memory.data(), memory.size(), stride};
    return capture(std::span<const FrameTarget>(&target, 1), info);
}

Status Camera::capture(std::span<const FrameTarget> targets, FrameInfo* info,
                       CaptureProgress* progress) {
    const CallGuard guard(parts().calls, CallGuard::Kind::Drives);
    if (!guard.status())
        return guard.status();
    if (targets.empty())
        return {StatusCode::InvalidArgument, "a capture needs at least one target"};
    for (const FrameTarget& target : targets) {
        FrameLayout shape;
        const CameraDevice& device = parts().device;
        if (Status status =
                layoutOf(device.shadow.mode.dataFormat, device.geometry, target.format, shape);
            !status)
            return status;
        if (Status status = checkTarget(target, shape); !status)
            return status;
    }

    CameraDevice& device = parts().device;
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
                parts().device.cpu, rowsWritten[i], rows);
            rowsWritten[i] = rows;
        }
        converting += std::chrono::steady_clock::now() - start;
    };
    std::chrono::steady_clock::duration following{};
    auto told = std::chrono::steady_clock::now();
    LinesRead linesRead;
    if (progress != nullptr) {
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
    // Calls the progress makes on this thread are told apart from other threads' calls.
    struct Capturing {
        std::atomic<std::thread::id>& thread;
        ~Capturing() { thread = std::thread::id(); }
    } capturing{parts().calls.capturing};
    capturing.thread = std::this_thread::get_id();
    device.capture(nullptr, linesRead);
    // The upload's last write leaves register 0x13 at the shadow's value.
    parts().sent[0x13] = device.shadow.reg(0x13).value;
    parts().sentKnown.set(0x13);
    const double portMilliseconds = std::chrono::duration<double, std::milli>(
                                        std::chrono::steady_clock::now() - portStart - following)
                                        .count();
    convertUpTo(geometry.linesToRead);
    ++parts().sequence;
    if (info != nullptr) {
        const FrameTarget& first = targets.front();
        const FrameLayout shape = frameLayout(device.geometry, first.format);
        *info = {first.format,
                 shape.width,
                 shape.height,
                 first.stride == 0 ? shape.rowBytes : first.stride,
                 mosaic,
                 device.geometry.linesToRead,
                 device.geometry.bytesPerLine,
                 parts().sequence,
                 portMilliseconds,
                 std::chrono::duration<double, std::milli>(converting).count()};
    }
    // A frame read from nothing is no picture, though its bytes are delivered all the same.
    return frameSignal(device.buffers.rawFrame(), geometry.linesToRead, geometry.bytesPerLine);
}

} // namespace orvane
