// Port backend selection.
#include "port/port_factory.h"

#include <cstdlib>
#include <filesystem>

#include "sim/scene.h"
#include "sim/simulated_camera_module.h"

namespace orvane {

namespace {

OpenedPort openSimulatedModule(std::optional<std::string_view> scene) {
    const std::string description =
        "orvane: port backend: simulated camera module (ORVANE_PORT=sim)";
    if (!scene || scene->empty())
        return OpenedPort{std::make_unique<SimulatedCameraModule>(),
                          description + ", built-in scene", ""};
    SceneLoad load = loadPpmScene(std::filesystem::path(*scene));
    if (!load.scene) {
        return OpenedPort{nullptr, "",
                          "orvane: ORVANE_SCENE=" + std::string(*scene) + ": " + load.error +
                              "; give a binary PPM (P6, maxval 255) or unset ORVANE_SCENE for the "
                              "built-in scene"};
    }
    return OpenedPort{std::make_unique<SimulatedCameraModule>(std::move(*load.scene)),
                      description + ", scene " + std::string(*scene), ""};
}

std::optional<std::string_view> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string_view(value);
}

} // namespace

OpenedPort openPort(std::optional<std::string_view> setting,
                    std::optional<std::string_view> scene) {
    const std::string_view name = setting.value_or("sim");
    if (name.empty() || name == "sim")
        return openSimulatedModule(scene);
    return OpenedPort{nullptr, "",
                      "orvane: ORVANE_PORT=" + std::string(name) +
                          " is not a known port backend; accepted values: sim (the simulated "
                          "camera module, also used when ORVANE_PORT is unset)"};
}

std::optional<std::string_view> portSettingFromEnvironment() {
    return environment("ORVANE_PORT");
}

std::optional<std::string_view> sceneSettingFromEnvironment() {
    return environment("ORVANE_SCENE");
}

} // namespace orvane
