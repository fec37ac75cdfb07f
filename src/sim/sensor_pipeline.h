// SensorPipeline: the realistic frame. The scene's light (sRGB decoded, times the illumination)
// becomes electrons over the integration time, with shot, read and dark noise and the module's
// fixed pattern, saturating at full well; the analog gain and white balance scale it into the
// 10-bit converter; the gamma curve, bias, aperture correction and the picture processing of
// frame_renderer.h follow, and the codes go out limited to 16..240.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/frame_layout.h"
#include "sim/scene.h"
#include "sim/sensor_model.h"
#include "sim/sensor_register_file.h"

namespace orvane {

// The output code range of every byte of a realistic frame.
constexpr uint8_t lowestOutputCode = 16;
constexpr uint8_t highestOutputCode = 240;

// What the automatic loops see of one frame, noise-free: the mean light of red, green and blue as
// the converter holds it (0 black, 1 full scale) over the pixels that are nearly grey, and the
// mean luma of all before the picture processing (0..255).
struct LoopMeasure {
    std::array<double, 3> light{};
    double luma = 0.0;
};

class SensorPipeline {
public:
    explicit SensorPipeline(const SensorModelSettings& model) : model_(model) {}

    // Renders sensor frame number frame of the scene at this illumination (1: the model's light)
    // in the layout the registers ask for. out is resized to the frame's byte count.
    SensorFrameLayout render(const Scene& scene, double illumination,
                             const SensorRegisterFile& sensor, uint64_t frame,
                             std::vector<uint8_t>& out);

    LoopMeasure measure(const Scene& scene, double illumination,
                        const SensorRegisterFile& sensor) const;

private:
    // Per pixel of a width x lines frame, per channel: the PRNU factor and the DSNU electrons.
    const std::vector<float>& fixedPattern(uint32_t width, uint32_t lines);

    SensorModelSettings model_;
    uint32_t patternWidth_ = 0;
    uint32_t patternLines_ = 0;
    std::vector<float> pattern_;
    std::vector<float> window_; // three lines of red, green, blue and luma, for the aperture
};

} // namespace orvane
