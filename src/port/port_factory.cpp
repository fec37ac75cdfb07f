// Port backend selection.
#include "port/port_factory.h"

#include <cstdlib>

#include "sim/simulated_camera_module.h"

namespace orvane {

OpenedPort openPort(std::optional<std::string_view> setting) {
    const std::string_view name = setting.value_or("sim");
    if (name.empty() || name == "sim") {
        return OpenedPort{std::make_unique<SimulatedCameraModule>(),
                          "orvane: port backend: simulated camera module (ORVANE_PORT=sim)", ""};
    }
    return OpenedPort{nullptr, "",
                      "orvane: ORVANE_PORT=" + std::string(name) +
                          " is not a known port backend; accepted values: sim (the simulated "
                          "camera module, also used when ORVANE_PORT is unset)"};
}

std::optional<std::string_view> portSettingFromEnvironment() {
    const char* value = std::getenv("ORVANE_PORT");
    if (value == nullptr)
        return std::nullopt;
    return std::string_view(value);
}

} // namespace orvane
