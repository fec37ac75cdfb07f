// Picks the port backend named by ORVANE_PORT.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "port/port_io.h"

namespace orvane {

struct OpenedPort {
    std::unique_ptr<PortIo> port; // null when the backend could not be opened
    std::string description;      // what the program says on standard error
    std::string error;            // why it could not be opened, with what to do
};

// setting is the value of ORVANE_PORT, or nullopt when it is unset. Unset, empty or "sim" gives
// the simulated camera module, which shows the picture in the PPM file scene names (the value of
// ORVANE_SCENE) or, when that is unset or empty, its built-in scene.
OpenedPort openPort(std::optional<std::string_view> setting,
                    std::optional<std::string_view> scene = std::nullopt);

// Read ORVANE_PORT and ORVANE_SCENE from the environment.
std::optional<std::string_view> portSettingFromEnvironment();
std::optional<std::string_view> sceneSettingFromEnvironment();

} // namespace orvane
