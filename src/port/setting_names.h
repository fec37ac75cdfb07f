// How texts name the settings a port is opened with: as the programs read them from the
// environment (ORVANE_PORT=value, after the programs' "orvane: "), or as a library caller passed
// them (device "value"), so every message speaks of what its reader gave.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

enum class SettingNaming : uint8_t {
    Environment, // the programs: ORVANE_PORT, ORVANE_SCENE, ORVANE_SIM_PACE, ORVANE_VCD
    Options,     // a library caller: device, scene, simulatedPace, recording
};

enum class Setting : uint8_t { Port, Scene, Pace, Recording };

// The start of a message about setting's value: "orvane: ORVANE_SCENE=/x.ppm" or
// "scene \"/x.ppm\"" (quoted, and shortened when long).
std::string settingText(SettingNaming naming, Setting setting, std::string_view value);

// How to leave a setting out: "unset ORVANE_SCENE" or "leave scene empty".
std::string leaveOutText(SettingNaming naming, Setting setting);

// text in double quotes, cut to about 80 characters with "..." when longer, and every byte that
// is not printable shown as \xNN, so a caller's input never garbles a message.
std::string quotedInput(std::string_view text);

} // namespace orvane
