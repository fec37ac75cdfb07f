// One frame of the camera into a PipeWire buffer, in the formats the node offers.
#pragma once

#include <orvane/camera.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

enum class NodeFormat : uint8_t {
    Rgb,  // R, G, B bytes per pixel
    Yuy2, // Y U Y V for each pair of pixels
};

// The least bytes of a row of width pixels.
std::size_t nodeRowBytes(NodeFormat format, uint32_t width);

// Captures one frame into memory, rows stride bytes apart. YUY2 is the camera's picture (held in
// scratch) in BT.601's limited range, as consumers read YUY2: the sensor's own 4:2:2 samples
// carry unscaled colour differences, which such a consumer would show over-saturated.
Status fillFrame(Camera& camera, NodeFormat format, std::span<uint8_t> memory, std::size_t stride,
                 std::vector<uint8_t>& scratch, FrameInfo& info);

} // namespace orvane
