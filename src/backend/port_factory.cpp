// Port backend selection.
#include "backend/port_factory.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "sim/paced_port.h"
#include "sim/scene.h"
#include "sim/simulated_camera_module.h"

namespace orvane {

namespace {

constexpr std::string_view descriptionPrefix = "orvane: port backend: ";
constexpr std::string_view ppdevName = "ppdev";
constexpr std::string_view ppdevPathPrefix = "ppdev:";
constexpr std::string_view directName = "direct";

// The scene is read only once root is given up (droppingRoot comes first), so a sudo start never
// shows a picture, or tells of a file, that its user could not read.
OpenedPort openSimulatedModule(std::optional<std::string_view> scene,
                               const PortBackends& backends) {
    const std::string description =
        std::string(descriptionPrefix) + "simulated camera module (ORVANE_PORT=sim)";
    if (!scene || scene->empty())
        return OpenedPort{
            std::make_unique<SimulatedCameraModule>(), description + ", built-in scene", {}};
    SceneLoad load = backends.loadScene(std::filesystem::path(*scene));
    if (!load.scene) {
        return OpenedPort{nullptr,
                          "",
                          {StatusCode::FileError,
                           "orvane: ORVANE_SCENE=" + std::string(*scene) + ": " + load.error +
                               "; give a binary PPM (P6, maxval 255) or unset ORVANE_SCENE for "
                               "the built-in scene"}};
    }
    return OpenedPort{std::make_unique<SimulatedCameraModule>(std::move(*load.scene)),
                      description + ", scene " + std::string(*scene),
                      {}};
}

struct Pace {
    std::chrono::nanoseconds accessTime{0};
    std::string text; // for the description; empty for none
    bool valid = true;
};

// ORVANE_SIM_PACE's value: "hardware", microseconds an access, or nothing.
Pace paceFrom(std::optional<std::string_view> setting) {
    const std::string_view text = setting.value_or("");
    if (text.empty() || text == "0" || text == "off")
        return {};
    if (text == "hardware")
        return {hardwareAccessTime, "hardware pace, 1 us a port access"};
    double microseconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), microseconds);
    const std::string_view unit(end, text.data() + text.size() - end);
    if (error != std::errc() || (unit != "" && unit != "us") || !(microseconds >= 0) ||
        microseconds > 1000)
        return {{}, {}, false};
    if (microseconds == 0)
        return {};
    return {std::chrono::nanoseconds(std::llround(microseconds * 1000)),
            "pace " + std::string(text.substr(0, text.size() - unit.size())) + " us a port access"};
}

std::string settingPrefix(std::string_view setting) {
    return "orvane: ORVANE_PORT=" + std::string(setting) + ": ";
}

OpenedPort openPpdev(std::string_view setting, const std::string& path,
                     const PortBackends& backends) {
    PpdevOpening opening = openPpdevPort(path, backends.parportDevice(), backends.holdClock());
    if (!opening.port)
        return OpenedPort{
            nullptr, "", {StatusCode::PortError, settingPrefix(setting) + opening.error}};
    return OpenedPort{
        std::move(opening.port), std::string(descriptionPrefix) + "ppdev on " + path, {}};
}

OpenedPort openDirect(std::string_view setting, const PortBackends& backends) {
    const std::unique_ptr<PrivilegeCalls> privileges = backends.privileges();
    DirectIoOpening opening =
        openDirectIoPort(backends.portInstructions(), *privileges, backends.holdClock());
    if (!opening.port)
        return OpenedPort{
            nullptr, "", {StatusCode::PortError, settingPrefix(setting) + opening.error}};
    return OpenedPort{
        std::move(opening.port), std::string(descriptionPrefix) + opening.description, {}};
}

// The windows never run as root: a sudo start gives up root as soon as the port is open.
OpenedPort droppingRoot(std::string_view setting, OpenedPort opened, const PortBackends& backends) {
    if (opened.port == nullptr)
        return opened;
    const std::unique_ptr<PrivilegeCalls> privileges = backends.privileges();
    const RootDrop drop = dropRootToSudoUser(*privileges);
    if (!drop.error.empty())
        return OpenedPort{
            nullptr, "", {StatusCode::NotPermitted, settingPrefix(setting) + drop.error}};
    if (drop.user) {
        opened.description += ", running as uid " + std::to_string(drop.user->uid) + " gid " +
                              std::to_string(drop.user->gid);
    }
    return opened;
}

std::optional<std::string_view> environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string_view(value);
}

} // namespace

PortBackends systemPortBackends() {
    return PortBackends{
        makeLinuxParportDevice,
        makeProcessorPortInstructions,
        makeSystemPrivilegeCalls,
        [] { return std::make_unique<MonotonicHoldClock>(); },
        loadPpmScene,
    };
}

OpenedPort openPort(std::optional<std::string_view> setting, std::optional<std::string_view> scene,
                    std::optional<std::string_view> pace) {
    return openPort(setting, scene, systemPortBackends(), pace);
}

OpenedPort openPort(std::optional<std::string_view> setting, std::optional<std::string_view> scene,
                    const PortBackends& backends, std::optional<std::string_view> pace) {
    const std::string_view name = setting.value_or("sim");
    if (name.empty() || name == "sim") {
        const Pace paced = paceFrom(pace);
        if (!paced.valid)
            return OpenedPort{nullptr,
                              "",
                              {StatusCode::PortError,
                               "orvane: ORVANE_SIM_PACE=" + std::string(*pace) +
                                   " is not a pace; accepted values: hardware (about 1 us a port "
                                   "access, as on a real parallel port), a number of microseconds "
                                   "a port access up to 1000 (0.5 or 2us), or off"}};
        // The module needs no privilege: root goes first, then the scene is read as the user.
        OpenedPort dropped = droppingRoot(
            "sim", OpenedPort{std::make_unique<SimulatedCameraModule>(), "", {}}, backends);
        if (dropped.port == nullptr)
            return dropped;
        OpenedPort opened = openSimulatedModule(scene, backends);
        if (opened.port == nullptr)
            return opened;
        opened.description += dropped.description;
        opened.module = static_cast<const SimulatedCameraModule*>(opened.port.get());
        if (paced.accessTime.count() > 0) {
            opened.port = std::make_unique<PacedPort>(std::move(opened.port), paced.accessTime,
                                                      backends.holdClock());
            opened.description += ", " + paced.text;
        }
        return opened;
    }
    if (name == ppdevName)
        return droppingRoot(name, openPpdev(name, std::string(defaultParportDevice), backends),
                            backends);
    if (name.starts_with(ppdevPathPrefix) && name.size() > ppdevPathPrefix.size()) {
        const std::string path(name.substr(ppdevPathPrefix.size()));
        return droppingRoot(name, openPpdev(name, path, backends), backends);
    }
    if (name == directName)
        return openDirect(name, backends); // drops root itself, between grant and first access
    return OpenedPort{nullptr,
                      "",
                      {StatusCode::PortError,
                       "orvane: ORVANE_PORT=" + std::string(name) +
                           " is not a known port backend; accepted values: sim (the simulated "
                           "camera module, also used when ORVANE_PORT is unset), ppdev (the "
                           "parallel-port device /dev/parport0, for members of group lp), "
                           "ppdev:/dev/parportN (another parallel-port device), direct (the "
                           "processor's port instructions on x86, started with sudo)"}};
}

std::optional<std::string_view> portSettingFromEnvironment() {
    return environment("ORVANE_PORT");
}

std::optional<std::string_view> paceSettingFromEnvironment() {
    return environment("ORVANE_SIM_PACE");
}

std::optional<std::string_view> sceneSettingFromEnvironment() {
    return environment("ORVANE_SCENE");
}

} // namespace orvane
