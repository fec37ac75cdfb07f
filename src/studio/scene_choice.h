// The simulated module's built-in scenes and light levels as the studio's Camera menu offers
// them, and the device strings that choose them.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orvane {

struct SceneChoice {
    std::string_view scene; // the device string's name for it
    const char* text;       // the menu's
};

inline constexpr std::array<SceneChoice, 6> sceneChoices{{
    {"card", "&Test card"},
    {"chart", "&Colour chart"},
    {"edge", "Slanted &edge"},
    {"flat", "&Flat field"},
    {"moving", "&Moving disc"},
    {"ramp", "Light &ramp"},
}};

struct LightChoice {
    int lux;
    const char* text;
};

inline constexpr std::array<LightChoice, 5> lightChoices{{
    {5, "&Dusk (5 lux)"},
    {25, "D&im room (25 lux)"},
    {100, "&Office (100 lux)"},
    {400, "&Bright room (400 lux)"},
    {2000, "Over&cast daylight (2000 lux)"},
}};

// What the simulated module's device string sets parameter to; empty when it does not.
std::string parameterOf(std::string_view device, std::string_view parameter);

// device with parameter set to value, its other parameters kept: ("sim:seed=7", "scene",
// "chart") gives "sim:seed=7,scene=chart"; an empty device is the simulated module.
std::string deviceWith(std::string_view device, std::string_view parameter, std::string_view value);

} // namespace orvane
