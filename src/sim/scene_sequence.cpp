// Still and moving scenes.
#include "sim/scene_sequence.h"

#include <vector>

namespace orvane {
namespace {

class Still final : public SceneSequence {
public:
    explicit Still(Scene scene) : scene_(std::move(scene)) {}
    const Scene& at(uint64_t) override { return scene_; }

private:
    Scene scene_;
};

constexpr Rgb field{40, 40, 48};
constexpr Rgb disc{240, 220, 40};
constexpr uint32_t discTravel = builtinSceneWidth - 2 * movingDiscRadius;

Scene discAt(uint32_t centre) {
    std::vector<Rgb> pixels(std::size_t{builtinSceneWidth} * builtinSceneHeight, field);
    const int64_t cy = builtinSceneHeight / 2;
    const int64_t r = movingDiscRadius;
    for (int64_t y = cy - r; y <= cy + r; ++y) {
        for (int64_t x = int64_t{centre} - r; x <= int64_t{centre} + r; ++x) {
            if ((x - centre) * (x - centre) + (y - cy) * (y - cy) <= r * r)
                pixels[std::size_t(y) * builtinSceneWidth + std::size_t(x)] = disc;
        }
    }
    return Scene(builtinSceneWidth, builtinSceneHeight, std::move(pixels));
}

class Moving final : public SceneSequence {
public:
    const Scene& at(uint64_t frame) override {
        const uint32_t centre = movingDiscCentre(frame);
        if (centre != centre_) {
            scene_ = discAt(centre);
            centre_ = centre;
        }
        return scene_;
    }

private:
    uint32_t centre_ = movingDiscCentre(0);
    Scene scene_ = discAt(centre_);
};

} // namespace

std::unique_ptr<SceneSequence> stillScene(Scene scene) {
    return std::make_unique<Still>(std::move(scene));
}

std::unique_ptr<SceneSequence> movingScene() {
    return std::make_unique<Moving>();
}

uint32_t movingDiscCentre(uint64_t frame) {
    // Out and back: a triangle wave over the travel.
    const uint64_t step = frame * movingDiscStep % (2 * discTravel);
    return movingDiscRadius +
           static_cast<uint32_t>(step < discTravel ? step : 2 * discTravel - step);
}

} // namespace orvane
