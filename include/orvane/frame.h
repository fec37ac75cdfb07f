// Frames as the library delivers them: into memory the caller provides, row after row with the
// caller's stride, in one of these layouts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvane {

enum class PixelFormat : uint8_t {
    Raw,    // the bytes as read from the port: linesRead rows of bytesPerLine bytes (FrameInfo)
    Rgb24,  // R, G, B bytes per pixel, top row first
    Bgr24,  // B, G, R bytes per pixel, top row first
    Xrgb32, // one 32-bit word 0xFFRRGGBB per pixel in the machine's byte order (QImage RGB32)
    Mosaic, // the rgb format's colour samples, one byte per pixel: G B / R G in 2 x 2 cells
    Vyuy,   // the yuv format's 4:2:2 bytes as read, V Y U Y for each pair of pixels, 2 a pixel
};

// The shape of a frame in one format for the settings in force.
struct FrameLayout {
    uint32_t width = 0;       // pixels (bytes for Raw) per row
    uint32_t height = 0;      // rows
    std::size_t rowBytes = 0; // the least stride
    std::size_t bytes = 0;    // the least memory at the least stride
};

// One layout of a capture and the memory it goes to, rows stride bytes apart (0: the layout's
// rowBytes).
struct FrameTarget {
    PixelFormat format = PixelFormat::Rgb24;
    uint8_t* memory = nullptr;
    std::size_t size = 0; // bytes at memory
    std::size_t stride = 0;
};

// What one capture delivered.
struct FrameInfo {
    PixelFormat format = PixelFormat::Rgb24;
    uint32_t width = 0;
    uint32_t height = 0;
    std::size_t stride = 0;
    bool mosaic = false;         // the sensor sent the rgb format's colour mosaic, not yuv
    uint32_t linesRead = 0;      // from the port
    uint32_t bytesPerLine = 0;   // from the port
    uint64_t sequence = 0;       // 1 for the camera's first frame
    double portMilliseconds = 0; // register writes and the frame handshake
    double conversionMilliseconds = 0;
};

} // namespace orvane
