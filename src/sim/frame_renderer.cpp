// Image controls, colour conversion and frame rendering for the simulated sensor.
#include "sim/frame_renderer.h"

#include <algorithm>
#include <array>

namespace orvane {
namespace {

// Nearest-neighbour scene coordinate of frame position index out of count.
uint32_t scaled(uint32_t index, uint32_t count, uint32_t sceneSize) {
    return static_cast<uint32_t>(uint64_t{index} * sceneSize / count);
}

// BT.601 luma weights and chroma divisors (U = (B - Y) / 1.772, V = (R - Y) / 1.402), as exact
// fractions of 1000.
constexpr int64_t perMille = 1000;
constexpr int64_t lumaRed = 299;
constexpr int64_t lumaGreen = 587;
constexpr int64_t lumaBlue = 114;
constexpr int64_t blueDifferenceDivisor = 1772;
constexpr int64_t redDifferenceDivisor = 1402;
constexpr int64_t unitGain = 128; // register value of a gain of 1

// Rounds half away from zero; denominator > 0.
int64_t roundedDivide(int64_t numerator, int64_t denominator) {
    return numerator >= 0 ? (numerator + denominator / 2) / denominator
                          : -((-numerator + denominator / 2) / denominator);
}

uint8_t clampToByte(int64_t value) {
    return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255));
}

// The scene pixel's 8-bit luma, rounded to nearest.
int64_t sceneLuma(Rgb pixel) {
    return roundedDivide(lumaRed * pixel.red + lumaGreen * pixel.green + lumaBlue * pixel.blue,
                         perMille);
}

int64_t adjustedLuma(int64_t luma, const ImageAdjustment& adjustment) {
    const int64_t contrasted =
        128 + roundedDivide((luma - 128) * (unitGain + adjustment.contrast), unitGain);
    return contrasted + (int64_t{adjustment.brightness} - 128) / 2;
}

// Which colour each mosaic position samples: [line parity][pixel parity].
constexpr std::array<std::array<uint8_t Rgb::*, 2>, 2> mosaicChannel{{
    {&Rgb::green, &Rgb::blue},
    {&Rgb::red, &Rgb::green},
}};

class SceneSampler {
public:
    // The scene column of each frame column and the scene row of each line, worked out once.
    SceneSampler(const Scene& scene, const SensorFrameLayout& layout)
        : scene_(scene), columns_(sceneColumns(layout, scene.width())),
          rows_(sceneRows(layout, scene.height())) {}

    Rgb at(uint32_t x, uint32_t line) const { return scene_.pixel(columns_[x], rows_[line]); }

private:
    const Scene& scene_;
    std::vector<uint32_t> columns_;
    std::vector<uint32_t> rows_;
};

void renderYuvLine(const SceneSampler& sampler, const SensorFrameLayout& layout,
                   const ImageAdjustment& adjustment, uint32_t line, uint8_t* out) {
    for (uint32_t x = 0; x + 1 < layout.width; x += 2) {
        const YuvSample left = toYuv(sampler.at(x, line), adjustment);
        const YuvSample right = toYuv(sampler.at(x + 1, line), adjustment);
        *out++ = static_cast<uint8_t>((left.v + right.v + 1) / 2);
        *out++ = left.y;
        *out++ = static_cast<uint8_t>((left.u + right.u + 1) / 2);
        *out++ = right.y;
    }
}

void renderMosaicLine(const SceneSampler& sampler, const SensorFrameLayout& layout,
                      const ImageAdjustment& adjustment, uint32_t line, uint8_t* out) {
    const auto& channels = mosaicChannel[line & 1];
    for (uint32_t x = 0; x < layout.width; ++x)
        *out++ = adjustRgb(sampler.at(x, line), adjustment).*channels[x & 1];
}

} // namespace

ImageAdjustment imageAdjustmentFor(const SensorRegisterFile& sensor) {
    return ImageAdjustment{sensor[SensorRegister::contrast], sensor[SensorRegister::brightness],
                           sensor[SensorRegister::saturation]};
}

YuvSample toYuv(Rgb pixel, const ImageAdjustment& adjustment) {
    const int64_t luma = sceneLuma(pixel);
    const int64_t gain = adjustment.saturation;
    const int64_t u = 128 + roundedDivide((pixel.blue - luma) * gain * perMille,
                                          unitGain * blueDifferenceDivisor);
    const int64_t v =
        128 + roundedDivide((pixel.red - luma) * gain * perMille, unitGain * redDifferenceDivisor);
    return YuvSample{clampToByte(adjustedLuma(luma, adjustment)), clampToByte(u), clampToByte(v)};
}

Rgb adjustRgb(Rgb pixel, const ImageAdjustment& adjustment) {
    const int64_t luma = sceneLuma(pixel);
    const int64_t base = adjustedLuma(luma, adjustment);
    const auto channel = [&](uint8_t value) {
        return clampToByte(base + roundedDivide((value - luma) * adjustment.saturation, unitGain));
    };
    return Rgb{channel(pixel.red), channel(pixel.green), channel(pixel.blue)};
}

std::vector<uint32_t> sceneColumns(const SensorFrameLayout& layout, uint32_t sceneWidth) {
    std::vector<uint32_t> columns(layout.width);
    for (uint32_t x = 0; x < layout.width; ++x)
        columns[x] = scaled(layout.mirror ? layout.width - 1 - x : x, layout.width, sceneWidth);
    return columns;
}

std::vector<uint32_t> sceneRows(const SensorFrameLayout& layout, uint32_t sceneHeight) {
    std::vector<uint32_t> rows(layout.lines);
    for (uint32_t line = 0; line < layout.lines; ++line)
        rows[line] = scaled(line, layout.lines, sceneHeight);
    return rows;
}

SensorFrameLayout renderFrame(const Scene& scene, const SensorRegisterFile& sensor,
                              std::vector<uint8_t>& out) {
    const SensorFrameLayout layout = frameLayoutFor(sensor);
    const ImageAdjustment adjustment = imageAdjustmentFor(sensor);
    out.assign(layout.frameBytes(), spareLineByte);

    const SceneSampler sampler(scene, layout);
    const auto renderLine = layout.format == FrameFormat::Yuv422 ? renderYuvLine : renderMosaicLine;
    for (uint32_t line = 0; line < layout.lines; ++line)
        renderLine(sampler, layout, adjustment, line,
                   out.data() + std::size_t{line} * layout.bytesPerLine);
    return layout;
}

} // namespace orvane
