// The simulated sensor's picture processing: image controls, colour conversion and the rendering
// of a whole frame from a scene in the layout the registers ask for.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/frame_layout.h"
#include "sim/scene.h"
#include "sim/sensor_register_file.h"

namespace orvane {

// The image controls, as plain register values. Luma is BT.601 luma of the scene pixel.
// - contrast (0x05): luma gain (128 + contrast) / 128 around 128, so 0 leaves luma as it is and
//   larger values spread it further;
// - brightness (0x06): luma offset (brightness - 128) / 2, rounded toward zero;
// - saturation (0x03): gain saturation / 128 on the colour differences; 0 gives grey, 0x80 leaves
//   the colours as they are.
struct ImageAdjustment {
    uint8_t contrast = 0x00;
    uint8_t brightness = 0x80;
    uint8_t saturation = 0x80;
};

// The adjustment that leaves the scene unchanged.
constexpr ImageAdjustment neutralAdjustment{};

ImageAdjustment imageAdjustmentFor(const SensorRegisterFile& sensor);

struct YuvSample {
    uint8_t y;
    uint8_t u; // blue difference, offset by 128
    uint8_t v; // red difference, offset by 128
    friend bool operator==(const YuvSample&, const YuvSample&) = default;
};

// Full-range BT.601 of the adjusted pixel: Y the adjusted luma, U = 128 + 0.564 x gain x (B - Y),
// V = 128 + 0.713 x gain x (R - Y), each clamped to 0..255.
YuvSample toYuv(Rgb pixel, const ImageAdjustment& adjustment);

// The adjusted pixel in RGB: each channel is the adjusted luma plus the saturation gain times
// the channel's difference from the scene luma, clamped to 0..255.
Rgb adjustRgb(Rgb pixel, const ImageAdjustment& adjustment);

// What the spare bytes at the end of each line carry.
constexpr uint8_t spareLineByte = 0x00;

// Renders the frame the sensor's registers describe, the scene scaled to the frame by nearest
// neighbour (flipped left-right when mirrored). out is resized to the frame's byte count; its
// storage is reused from frame to frame. In YUV each pixel pair carries the mean chroma of its
// two pixels. This is the reference frame: the scene through the picture processing alone.
SensorFrameLayout renderFrame(const Scene& scene, const SensorRegisterFile& sensor,
                              std::vector<uint8_t>& out);

// The scene column each frame column shows (flipped when mirrored) and the scene row of each
// line, by nearest neighbour.
std::vector<uint32_t> sceneColumns(const SensorFrameLayout& layout, uint32_t sceneWidth);
std::vector<uint32_t> sceneRows(const SensorFrameLayout& layout, uint32_t sceneHeight);

} // namespace orvane
