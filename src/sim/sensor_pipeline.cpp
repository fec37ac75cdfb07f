// The realistic frame, stage by stage.
#include "sim/sensor_pipeline.h"

#include <algorithm>
#include <cmath>

#include "sim/frame_renderer.h"
#include "sim/noise_source.h"
#include "sim/sensor_stages.h"

namespace orvane {
namespace {

double decodedSrgb(double code) {
    const double c = code / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double encodedSrgb(double light) {
    return light <= 0.0031308 ? 12.92 * light : 1.055 * std::pow(light, 1 / 2.4) - 0.055;
}

// The scene's codes as light, and the converter's codes as picture codes (0..255): through the
// gamma curve with the black level taken off, or as they are.
struct Curves {
    std::array<float, 256> sceneLight;
    std::array<float, adcMaxCode + 1> gammaCodes;
    std::array<float, adcMaxCode + 1> linearCodes;
};

const Curves& curves() {
    static const Curves made = [] {
        Curves c{};
        for (int code = 0; code < 256; ++code)
            c.sceneLight[code] = float(decodedSrgb(code));
        for (int code = 0; code <= adcMaxCode; ++code) {
            const double light =
                std::max(0, code - blackLevelCode) / double(adcMaxCode - blackLevelCode);
            c.gammaCodes[code] = float(255.0 * encodedSrgb(light));
            c.linearCodes[code] = float(255.0 * code / adcMaxCode);
        }
        return c;
    }();
    return made;
}

constexpr float lumaWeight[3] = {0.299f, 0.587f, 0.114f};

// What white balance counts as nearly grey: no channel more than twice another, none black.
constexpr double greySpread = 2.0;
constexpr double greyDarkest = 0.02;

// The signal chain of one frame, red, green, blue.
struct Chain {
    std::array<float, 3> electronsPerLight; // electrons of a white scene point
    float darkElectrons;
    std::array<float, 3> codesPerElectron; // analog gain and balance into the converter
    std::array<float, 3> bias;
    const float* pictureCode; // of each converter code
    float readVariance;
};

Chain chainFor(const SensorStages& stages, const SensorModelSettings& model, double illumination) {
    Chain chain{};
    for (int c = 0; c < 3; ++c) {
        chain.electronsPerLight[c] = float(model.lux * illumination * stages.exposureSeconds *
                                           photonsPerLuxSecond * quantumEfficiency[c]);
        chain.codesPerElectron[c] = float(conversionGain * stages.analogGain * stages.balance[c]);
        chain.bias[c] = float(stages.bias[c]);
    }
    chain.darkElectrons = float(darkCurrentElectronsPerSecond * stages.exposureSeconds);
    chain.pictureCode = stages.gamma ? curves().gammaCodes.data() : curves().linearCodes.data();
    chain.readVariance = float(readNoiseElectrons * readNoiseElectrons);
    return chain;
}

// The converter's code for the electrons a photosite holds; the well holds no more than full.
int converterCode(float electrons, float codesPerElectron) {
    const float code =
        float(blackLevelCode) + codesPerElectron * std::min(electrons, float(fullWellElectrons));
    return int(std::clamp(code, 0.0f, float(adcMaxCode)) + 0.5f);
}

// Where a pixel's numbers sit in its stream: three words a pixel, whatever the frame's width.
uint64_t pixelCounter(uint32_t x, uint32_t line) {
    return (uint64_t{line} << 16 | x) * 3;
}

// One line of light through the sensor into picture codes, with the luma of each pixel:
// red, green, blue, luma per pixel. pattern is null when the model has no noise.
void senseLine(const Scene& scene, const uint32_t* columns, uint32_t row, uint32_t line,
               uint32_t width, const Chain& chain, const float* pattern, uint64_t key, float* out) {
    const Curves& c = curves();
    for (uint32_t x = 0; x < width; ++x, out += 4) {
        const Rgb p = scene.pixel(columns[x], row);
        const float light[3] = {c.sceneLight[p.red], c.sceneLight[p.green], c.sceneLight[p.blue]};
        NormalPair normal[2] = {};
        const float* fixed = nullptr;
        if (pattern != nullptr) {
            const uint64_t counter = key + pixelCounter(x, line);
            normal[0] = normalPair(mixBits(counter));
            normal[1] = normalPair(mixBits(counter + 1));
            fixed = pattern + (std::size_t{line} * width + x) * 6;
        }
        const float normals[3] = {normal[0].first, normal[0].second, normal[1].first};
        float luma = 0.0f;
        for (int ch = 0; ch < 3; ++ch) {
            float electrons = light[ch] * chain.electronsPerLight[ch] + chain.darkElectrons;
            if (fixed != nullptr) {
                // The fixed pattern first (the same every frame), then shot and read noise.
                electrons = light[ch] * chain.electronsPerLight[ch] * fixed[2 * ch] +
                            chain.darkElectrons + fixed[2 * ch + 1];
                electrons +=
                    std::sqrt(std::max(electrons, 0.0f) + chain.readVariance) * normals[ch];
            }
            const float code =
                chain.pictureCode[converterCode(electrons, chain.codesPerElectron[ch])] +
                chain.bias[ch];
            out[ch] = code;
            luma += lumaWeight[ch] * code;
        }
        out[3] = luma;
    }
}

// The picture processing, in the model's own precision.
struct Processing {
    float aperture;
    float lumaGain;
    float lumaOffset;
    float saturation;

    float adjustedLuma(float luma) const {
        return 128.0f + (luma - 128.0f) * lumaGain + lumaOffset;
    }
};

Processing processingFor(const SensorStages& stages, const ImageAdjustment& adjustment) {
    return {float(stages.aperture), (128.0f + adjustment.contrast) / 128.0f,
            float((int{adjustment.brightness} - 128) / 2), adjustment.saturation / 128.0f};
}

uint8_t outputCode(float value) {
    constexpr float scale = float(highestOutputCode - lowestOutputCode) / 255.0f;
    return static_cast<uint8_t>(std::clamp(lowestOutputCode + value * scale,
                                           float(lowestOutputCode), float(highestOutputCode)) +
                                0.5f);
}

// A pixel after the aperture correction: each channel moves by the luma's own edge against the
// four neighbours inside the frame.
struct Corrected {
    float rgb[3];
    float luma;
};

Corrected corrected(const float* up, const float* here, const float* down, uint32_t x,
                    uint32_t width, float aperture) {
    const float* p = here + 4 * x;
    const uint32_t left = x > 0 ? x - 1 : x, right = x + 1 < width ? x + 1 : x;
    const float around =
        0.25f * (here[4 * left + 3] + here[4 * right + 3] + up[4 * x + 3] + down[4 * x + 3]);
    const float edge = aperture * (p[3] - around);
    return {{p[0] + edge, p[1] + edge, p[2] + edge}, p[3] + edge};
}

// Which channel each mosaic position samples: [line parity][pixel parity], red 0, green 1, blue 2.
constexpr int mosaicChannel[2][2] = {{1, 2}, {0, 1}};

void emitLine(const float* up, const float* here, const float* down,
              const SensorFrameLayout& layout, const Processing& processing, uint32_t line,
              uint8_t* out) {
    const uint32_t width = layout.width;
    if (layout.format == FrameFormat::RgbMosaic) {
        for (uint32_t x = 0; x < width; ++x) {
            const Corrected p = corrected(up, here, down, x, width, processing.aperture);
            const float channel = p.rgb[mosaicChannel[line & 1][x & 1]];
            *out++ = outputCode(processing.adjustedLuma(p.luma) +
                                (channel - p.luma) * processing.saturation);
        }
        return;
    }
    for (uint32_t x = 0; x + 1 < width; x += 2) {
        const Corrected left = corrected(up, here, down, x, width, processing.aperture);
        const Corrected right = corrected(up, here, down, x + 1, width, processing.aperture);
        const auto u = [&](const Corrected& p) {
            return (p.rgb[2] - p.luma) * processing.saturation / 1.772f;
        };
        const auto v = [&](const Corrected& p) {
            return (p.rgb[0] - p.luma) * processing.saturation / 1.402f;
        };
        *out++ = outputCode(128.0f + 0.5f * (v(left) + v(right)));
        *out++ = outputCode(processing.adjustedLuma(left.luma));
        *out++ = outputCode(128.0f + 0.5f * (u(left) + u(right)));
        *out++ = outputCode(processing.adjustedLuma(right.luma));
    }
}

} // namespace

SensorFrameLayout SensorPipeline::render(const Scene& scene, double illumination,
                                         const SensorRegisterFile& sensor, uint64_t frame,
                                         std::vector<uint8_t>& out) {
    const SensorFrameLayout layout = frameLayoutFor(sensor);
    out.assign(layout.frameBytes(), spareLineByte);
    if (layout.empty())
        return layout;
    const SensorStages stages = sensorStagesFor(sensor);
    const Chain chain = chainFor(stages, model_, illumination);
    const Processing processing = processingFor(stages, imageAdjustmentFor(sensor));
    const std::vector<uint32_t> columns = sceneColumns(layout, scene.width());
    const std::vector<uint32_t> rows = sceneRows(layout, scene.height());
    const float* pattern = model_.noise ? fixedPattern(layout.width, layout.lines).data() : nullptr;
    const uint64_t key = streamKey(model_.seed, frame);

    // Three lines in turn: the one going out and its neighbours above and below.
    const std::size_t stride = 4 * std::size_t{layout.width};
    window_.resize(3 * stride);
    const auto lineAt = [&](uint32_t line) { return window_.data() + line % 3 * stride; };
    const auto sense = [&](uint32_t line) {
        senseLine(scene, columns.data(), rows[line], line, layout.width, chain, pattern, key,
                  lineAt(line));
    };
    sense(0);
    for (uint32_t line = 0; line < layout.lines; ++line) {
        const bool last = line + 1 == layout.lines;
        if (!last)
            sense(line + 1);
        emitLine(lineAt(line == 0 ? line : line - 1), lineAt(line), lineAt(last ? line : line + 1),
                 layout, processing, line, out.data() + std::size_t{line} * layout.bytesPerLine);
    }
    return layout;
}

LoopMeasure SensorPipeline::measure(const Scene& scene, double illumination,
                                    const SensorRegisterFile& sensor) const {
    const SensorFrameLayout layout = frameLayoutFor(sensor);
    LoopMeasure measured;
    if (layout.empty())
        return measured;
    const Chain chain = chainFor(sensorStagesFor(sensor), model_, illumination);
    const std::vector<uint32_t> columns = sceneColumns(layout, scene.width());
    const std::vector<uint32_t> rows = sceneRows(layout, scene.height());
    const Curves& c = curves();
    // White balance looks at the pixels that are nearly grey already and neither clipped nor
    // black, as the colour of the light shows in them; at every pixel when there are none.
    std::array<double, 3> all{}, grey{};
    std::size_t samples = 0, greySamples = 0;
    for (uint32_t line = std::min(loopSampleSpacing / 2, layout.lines - 1); line < layout.lines;
         line += loopSampleSpacing) {
        for (uint32_t x = std::min(loopSampleSpacing / 2, layout.width - 1); x < layout.width;
             x += loopSampleSpacing) {
            const Rgb p = scene.pixel(columns[x], rows[line]);
            const uint8_t codes[3] = {p.red, p.green, p.blue};
            std::array<double, 3> light{};
            bool clipped = false;
            for (int ch = 0; ch < 3; ++ch) {
                const int code = converterCode(
                    c.sceneLight[codes[ch]] * chain.electronsPerLight[ch] + chain.darkElectrons,
                    chain.codesPerElectron[ch]);
                clipped = clipped || code >= adcMaxCode;
                light[ch] =
                    std::max(0, code - blackLevelCode) / double(adcMaxCode - blackLevelCode);
                measured.luma += lumaWeight[ch] * (chain.pictureCode[code] + chain.bias[ch]);
                all[ch] += light[ch];
            }
            const auto [least, most] = std::minmax({light[0], light[1], light[2]});
            if (!clipped && least > greyDarkest && most <= greySpread * least) {
                for (int ch = 0; ch < 3; ++ch)
                    grey[ch] += light[ch];
                ++greySamples;
            }
            ++samples;
        }
    }
    for (int ch = 0; ch < 3; ++ch)
        measured.light[ch] = greySamples > 0 ? grey[ch] / double(greySamples) : all[ch] / samples;
    measured.luma /= double(samples);
    return measured;
}

const std::vector<float>& SensorPipeline::fixedPattern(uint32_t width, uint32_t lines) {
    if (width == patternWidth_ && lines == patternLines_)
        return pattern_;
    // Its own stream of the seed, keyed by position: the same pixel has the same pattern in every
    // frame and window size.
    const uint64_t key = streamKey(model_.seed, ~uint64_t{0});
    pattern_.resize(std::size_t{width} * lines * 6);
    float* out = pattern_.data();
    for (uint32_t line = 0; line < lines; ++line) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint64_t counter = key + pixelCounter(x, line);
            const NormalPair words[3] = {normalPair(mixBits(counter)),
                                         normalPair(mixBits(counter + 1)),
                                         normalPair(mixBits(counter + 2))};
            for (const NormalPair& pair : words) {
                *out++ = float(1.0 + prnuFraction * pair.first);
                *out++ = float(dsnuElectrons * pair.second);
            }
        }
    }
    patternWidth_ = width;
    patternLines_ = lines;
    return pattern_;
}

} // namespace orvane
