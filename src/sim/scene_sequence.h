// What the simulated module looks at, frame after sensor frame: a still scene, or one that moves.
#pragma once

#include <cstdint>
#include <memory>

#include "sim/scene.h"

namespace orvane {

class SceneSequence {
public:
    virtual ~SceneSequence() = default;
    // The scene during sensor frame index; the reference stays good until the next call.
    virtual const Scene& at(uint64_t frame) = 0;
};

std::unique_ptr<SceneSequence> stillScene(Scene scene);

// A yellow disc that crosses a dark field left and right, movingDiscStep scene pixels each sensor
// frame, turning at the edges.
constexpr uint32_t movingDiscRadius = 40;
constexpr uint32_t movingDiscStep = 6;
std::unique_ptr<SceneSequence> movingScene();

// Where the moving scene's disc centre is during sensor frame index.
uint32_t movingDiscCentre(uint64_t frame);

} // namespace orvane
