// The colour chart and the slanted edge.
#include "sim/test_charts.h"

#include <cmath>
#include <numbers>

namespace orvane {

const std::array<ChartPatch, 24> chartPatches{{
    {"dark skin", {115, 82, 68}},     {"light skin", {194, 150, 130}},
    {"blue sky", {98, 122, 157}},     {"foliage", {87, 108, 67}},
    {"blue flower", {133, 128, 177}}, {"bluish green", {103, 189, 170}},
    {"orange", {214, 126, 44}},       {"purplish blue", {80, 91, 166}},
    {"moderate red", {193, 90, 99}},  {"purple", {94, 60, 108}},
    {"yellow green", {157, 188, 64}}, {"orange yellow", {224, 163, 46}},
    {"blue", {56, 61, 150}},          {"green", {70, 148, 73}},
    {"red", {175, 54, 60}},           {"yellow", {231, 199, 31}},
    {"magenta", {187, 86, 149}},      {"cyan", {8, 133, 161}},
    {"white", {243, 243, 242}},       {"neutral 8", {200, 200, 200}},
    {"neutral 6.5", {160, 160, 160}}, {"neutral 5", {122, 122, 121}},
    {"neutral 3.5", {85, 85, 85}},    {"black", {52, 52, 52}},
}};

namespace {

constexpr uint32_t chartColumns = 6;
constexpr uint32_t sceneWidth = builtinSceneWidth;
constexpr uint32_t sceneHeight = builtinSceneHeight;

// The patch under one scene position, or the surround.
Rgb chartPixel(uint32_t x, uint32_t y) {
    if (x < chartLeft || y < chartTop)
        return chartSurround;
    const uint32_t column = (x - chartLeft) / (chartPatchWidth + chartGap);
    const uint32_t row = (y - chartTop) / (chartPatchHeight + chartGap);
    const bool inPatch = (x - chartLeft) % (chartPatchWidth + chartGap) < chartPatchWidth &&
                         (y - chartTop) % (chartPatchHeight + chartGap) < chartPatchHeight;
    if (!inPatch || column >= chartColumns || row >= chartPatches.size() / chartColumns)
        return chartSurround;
    return chartPatches[row * chartColumns + column].colour;
}

} // namespace

Scene colourChartScene() {
    return paintedScene(sceneWidth, sceneHeight, chartPixel);
}

Scene slantedEdgeScene() {
    // The edge passes through the centre; a point lies on the light side when it is right of the
    // line. Each pixel takes the light share of a 4 x 4 grid of samples inside it.
    constexpr int samples = 4;
    const double lean = std::tan(slantedEdgeDegrees * std::numbers::pi / 180.0);
    const double centreX = sceneWidth / 2.0;
    const double centreY = sceneHeight / 2.0;
    return paintedScene(sceneWidth, sceneHeight, [&](uint32_t x, uint32_t y) {
        int light = 0;
        for (int i = 0; i < samples * samples; ++i) {
            const double sx = x + (i % samples + 0.5) / samples;
            const double sy = y + (i / samples + 0.5) / samples;
            light += sx - centreX > (centreY - sy) * lean;
        }
        const auto level = static_cast<uint8_t>(
            std::lround(slantedEdgeDark +
                        double(slantedEdgeLight - slantedEdgeDark) * light / (samples * samples)));
        return Rgb{level, level, level};
    });
}

Scene flatFieldScene() {
    return paintedScene(sceneWidth, sceneHeight, [](uint32_t, uint32_t) { return flatFieldGrey; });
}

} // namespace orvane
