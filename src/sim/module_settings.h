// The simulated module's parameters as a device string names them after "sim:", so that every
// front end that takes a device takes them too: "sim:scene=card", "sim:scene=/path/picture.ppm",
// "sim:reference". Parameters are separated by commas; a flag stands alone.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "orvane/status.h"
#include "sim/scene_sequence.h"

namespace orvane {

struct SimulatedModuleSettings {
    // A built-in scene's name or a PPM file; empty: the scene the module is otherwise given.
    std::string scene;
    // The reference frames, without the sensor's own stages, so that pinned pixels and pictures
    // compared between programs keep a fixed point.
    bool reference = false;
};

// The parameters in text, what follows "sim:". PortError naming a parameter that is unknown,
// lacks its value or has one it does not take, with the parameters there are.
Status parseSimulatedModuleSettings(std::string_view text, SimulatedModuleSettings& settings);

// The built-in scene called name ("card": the test card; "chart": the colour chart; "edge": the
// slanted edge; "moving": a disc crossing a dark field), or null.
std::unique_ptr<SceneSequence> builtinSceneNamed(std::string_view name);

} // namespace orvane
