// Still and moving scenes.
#include "sim/scene_sequence.h"

#include <algorithm>
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

class Played final : public SceneSequence {
public:
    explicit Played(std::vector<Scene> scenes) : scenes_(std::move(scenes)) {}
    const Scene& at(uint64_t frame) override { return scenes_[frame % scenes_.size()]; }

private:
    std::vector<Scene> scenes_;
};

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

class LightRamp final : public SceneSequence {
public:
    const Scene& at(uint64_t) override { return card_; }
    double illumination(uint64_t frame) const override {
        return lightRampLevels[frame / lightRampFrames % lightRampLevels.size()];
    }

private:
    Scene card_ = builtinScene();
};

} // namespace

std::unique_ptr<SceneSequence> lightRampScene() {
    return std::make_unique<LightRamp>();
}

std::unique_ptr<SceneSequence> stillScene(Scene scene) {
    return std::make_unique<Still>(std::move(scene));
}

std::unique_ptr<SceneSequence> playedScenes(std::vector<Scene> scenes) {
    if (scenes.empty())
        scenes.push_back(builtinScene());
    return std::make_unique<Played>(std::move(scenes));
}

Status loadSceneFolder(const std::filesystem::path& folder,
                       std::unique_ptr<SceneSequence>& sequence) {
    sequence.reset();
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".ppm")
            files.push_back(entry.path());
    }
    const std::string name = folder.string();
    if (error)
        return {StatusCode::FileError, "cannot read the folder " + name + ": " + error.message()};
    if (files.empty() || files.size() > maxFolderScenes)
        return {StatusCode::FileError,
                name + ": a folder of scenes holds 1 to " + std::to_string(maxFolderScenes) +
                    " binary PPMs (*.ppm), not " + std::to_string(files.size())};
    std::sort(files.begin(), files.end());
    std::vector<Scene> scenes;
    std::size_t bytes = 0;
    for (const std::filesystem::path& file : files) {
        std::optional<Scene> scene;
        if (Status loaded = loadPpmScene(file, scene); !loaded)
            return loaded;
        bytes += scene->pixels().size() * sizeof(Rgb);
        if (bytes > maxFolderSceneBytes)
            return {StatusCode::FileError, name + ": its pictures take more than " +
                                               std::to_string(maxFolderSceneBytes >> 20) + " MiB"};
        scenes.push_back(std::move(*scene));
    }
    sequence = playedScenes(std::move(scenes));
    return {};
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
