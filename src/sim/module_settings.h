// The simulated module's parameters as a device string names them after "sim:", so that every
// front end that takes a device takes them too: "sim:scene=chart,lux=40,seed=7",
// "sim:scene=/path/picture.ppm", "sim:noise=off", "sim:reference". Parameters are separated by
// commas; a flag stands alone.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "orvane/status.h"
#include "sim/scene_sequence.h"
#include "sim/sensor_model.h"

namespace orvane {

struct SimulatedModuleSettings {
    // A built-in scene's name or a PPM file; empty: the scene the module is otherwise given.
    std::string scene;
    SensorModelSettings model;
};

// The parameters in text, what follows "sim:". PortError naming a parameter that is unknown,
// lacks its value or has one it does not take, with the parameters there are.
Status parseSimulatedModuleSettings(std::string_view text, SimulatedModuleSettings& settings);

// The built-in scene called name ("card": the test card; "chart": the colour chart; "edge": the
// slanted edge; "flat": an even grey field; "moving": a disc crossing a dark field; "ramp": the
// test card under a light stepping up and down), or null.
std::unique_ptr<SceneSequence> builtinSceneNamed(std::string_view name);

} // namespace orvane
