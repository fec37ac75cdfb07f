// The node's parameters as SPA objects: the formats it offers, its buffers and their metadata,
// and the camera's controls as PropInfo and Props, all made from the library's control list.
#pragma once

#include <spa/pod/builder.h>
#include <spa/pod/pod.h>

#include <orvane/controls.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "frame_fill.h"
#include "node_camera.h"

namespace orvane {

// What a consumer and the node agreed on.
struct NodeVideoFormat {
    NodeFormat format;
    uint32_t width;
    uint32_t height;
    uint32_t framesPerSecond; // 0: as fast as frames come
};

// Frames a second the node offers; the first is what an undecided consumer gets.
inline constexpr uint32_t nodeFrameRates[] = {30, 25, 20, 15, 10, 5, 1};

// RGB then YUY2 (for an even width) at each size, the first size first.
std::vector<const spa_pod*> formatParams(spa_pod_builder& builder,
                                         std::span<const NodeFrameSize> sizes);
// The format a consumer chose, or none when it is not one the node offers.
std::optional<NodeVideoFormat> readFormat(const spa_pod* param);

// Buffers of one block, rows stride bytes apart, with a header (sequence, time) on each.
std::vector<const spa_pod*> bufferParams(spa_pod_builder& builder, std::size_t stride,
                                         std::size_t size);

// The property id of the control at index of the control list: PipeWire's own for a control of
// the same name (brightness, contrast, saturation, sharpness, gain), else the custom start plus
// index.
uint32_t controlPropertyId(std::size_t index);
// One PropInfo per control: id, name, its range or choices with their names, its default.
std::vector<const spa_pod*> propInfoParams(spa_pod_builder& builder);
// The values in force, one property per control.
const spa_pod* propsParam(spa_pod_builder& builder, std::span<const int32_t> values);
// The settings a Props object asks for, by property id or by name in its params; problems says
// what it held that no control takes.
std::vector<ControlSetting> readProps(const spa_pod* param, std::vector<std::string>& problems);

} // namespace orvane
