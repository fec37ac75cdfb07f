// Built-in test charts for the simulated module: a 24-patch colour chart with its reference
// colours, a slanted edge for measuring sharpness and a flat field, each 640 x 480 like the test
// card.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "sim/scene.h"

namespace orvane {

struct ChartPatch {
    std::string_view name;
    Rgb colour; // sRGB, as the chart's maker publishes it
};

// The patches in reading order, 6 a row, 4 rows: the usual 24-patch colour checker.
extern const std::array<ChartPatch, 24> chartPatches;

// Where patch (column, row) lies in the chart scene: its top-left corner and its size. The rest
// of the scene is the chart's dark surround.
constexpr uint32_t chartLeft = 20;
constexpr uint32_t chartTop = 22;
constexpr uint32_t chartPatchWidth = 90;
constexpr uint32_t chartPatchHeight = 100;
constexpr uint32_t chartGap = 12;
constexpr Rgb chartSurround{30, 30, 30};

Scene colourChartScene();

// A dark field on the left and a light one on the right, their edge through the centre of the
// scene leaning slantedEdgeDegrees from vertical (its top further right), antialiased, as the
// slanted-edge method of measuring sharpness wants it.
constexpr double slantedEdgeDegrees = 5.0;
constexpr uint8_t slantedEdgeDark = 50;
constexpr uint8_t slantedEdgeLight = 200;

Scene slantedEdgeScene();

// An even grey field (18% grey, sRGB 118): the flat field of a photon-transfer measurement.
constexpr Rgb flatFieldGrey{118, 118, 118};
Scene flatFieldScene();

} // namespace orvane
