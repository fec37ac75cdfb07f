// What the simulated module looks at, frame after sensor frame: a still scene, or one that moves.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "sim/scene.h"

namespace orvane {

class SceneSequence {
public:
    virtual ~SceneSequence() = default;
    // The scene during sensor frame index; the reference stays good until the next call.
    virtual const Scene& at(uint64_t frame) = 0;
    // The light on the scene during sensor frame index, as a factor of the module's light.
    virtual double illumination(uint64_t /*frame*/) const { return 1.0; }
};

std::unique_ptr<SceneSequence> stillScene(Scene scene);

// The pictures of a folder played one a sensor frame, in the order of their names (numbered
// files: frame-0001.ppm, ...), over and over.
std::unique_ptr<SceneSequence> playedScenes(std::vector<Scene> scenes);

// The most pictures, and picture bytes in all, a folder may bring.
constexpr std::size_t maxFolderScenes = 1000;
constexpr std::size_t maxFolderSceneBytes = std::size_t{512} << 20;

// Reads every *.ppm of folder (binary PPMs, regular files only) as a played sequence; a refusal
// (FileError) names the folder or the file and says why.
Status loadSceneFolder(const std::filesystem::path& folder, std::unique_ptr<SceneSequence>& scenes);

// A yellow disc that crosses a dark field left and right, movingDiscStep scene pixels each sensor
// frame, turning at the edges.
constexpr uint32_t movingDiscRadius = 40;
constexpr uint32_t movingDiscStep = 6;
std::unique_ptr<SceneSequence> movingScene();

// The test card under a light that steps up and down: each of lightRampLevels held for
// lightRampFrames sensor frames, over and over.
constexpr std::array<double, 4> lightRampLevels{1.0, 4.0, 1.0, 0.25};
constexpr uint64_t lightRampFrames = 60;
std::unique_ptr<SceneSequence> lightRampScene();

// Where the moving scene's disc centre is during sensor frame index.
uint32_t movingDiscCentre(uint64_t frame);

} // namespace orvane
