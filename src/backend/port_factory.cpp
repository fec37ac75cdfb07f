// Port backend selection.
#include "backend/port_factory.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "sim/module_settings.h"
#include "sim/paced_port.h"
#include "sim/scene.h"
#include "sim/simulated_camera_module.h"

namespace orvane {

namespace {

// "orvane: port backend: " + what for the programs; a library caller's program adds its own name.
std::string described(const PortRequest& request, std::string_view what) {
    const std::string text = "port backend: " + std::string(what);
    return request.naming == SettingNaming::Environment ? "orvane: " + text : text;
}
constexpr std::string_view ppdevName = "ppdev";
constexpr std::string_view ppdevPathPrefix = "ppdev:";
constexpr std::string_view directName = "direct";

constexpr std::string_view simulatedName = "sim";
constexpr std::string_view simulatedParametersPrefix = "sim:";

// The scene is read only once root is given up (droppingRoot comes first), so a sudo start never
// shows a picture, or tells of a file, that its user could not read. The device string's scene
// comes before the scene setting.
OpenedPort openSimulatedModule(const PortRequest& request, std::string_view setting,
                               const SimulatedModuleSettings& settings,
                               const PortBackends& backends) {
    const std::string description = described(
        request, request.naming == SettingNaming::Environment
                     ? "simulated camera module (ORVANE_PORT=" + std::string(setting) + ")"
                     : std::string("simulated camera module"));
    const bool fromDevice = !settings.scene.empty();
    const std::string_view scene = fromDevice ? settings.scene : request.scene.value_or("");
    if (scene.empty())
        return OpenedPort{std::make_unique<SimulatedCameraModule>(settings.model),
                          description + ", built-in scene",
                          {}};
    if (std::unique_ptr<SceneSequence> builtin = builtinSceneNamed(scene); builtin && fromDevice)
        return OpenedPort{
            std::make_unique<SimulatedCameraModule>(std::move(builtin), settings.model),
            description + ", built-in scene " + std::string(scene),
            {}};
    const std::string named = fromDevice ? settingText(request.naming, Setting::Port, setting)
                                         : settingText(request.naming, Setting::Scene, scene);
    std::error_code notAFolder;
    if (std::filesystem::is_directory(std::filesystem::path(scene), notAFolder)) {
        std::unique_ptr<SceneSequence> scenes;
        if (const Status loaded = loadSceneFolder(std::filesystem::path(scene), scenes); !loaded)
            return OpenedPort{
                nullptr, "", {StatusCode::FileError, named + ": " + loaded.message()}};
        return OpenedPort{
            std::make_unique<SimulatedCameraModule>(std::move(scenes), settings.model),
            description + ", the scenes of " + std::string(scene),
            {}};
    }
    std::optional<Scene> picture;
    if (const Status loaded = backends.loadScene(std::filesystem::path(scene), picture); !loaded) {
        const std::string instead =
            fromDevice ? "the name of a built-in scene"
                       : leaveOutText(request.naming, Setting::Scene) + " for the built-in scene";
        return OpenedPort{nullptr,
                          "",
                          {StatusCode::FileError, named + ": " + loaded.message() +
                                                      "; give a binary PPM (P6, maxval 255), a "
                                                      "folder of them, or " +
                                                      instead}};
    }
    return OpenedPort{std::make_unique<SimulatedCameraModule>(std::move(*picture), settings.model),
                      description + ", scene " + std::string(scene),
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
        microseconds > maxSimulatedPaceMicroseconds)
        return {{}, {}, false};
    if (microseconds == 0)
        return {};
    return {std::chrono::nanoseconds(std::llround(microseconds * 1000)),
            "pace " + std::string(text.substr(0, text.size() - unit.size())) + " us a port access"};
}

std::string settingPrefix(const PortRequest& request, std::string_view setting) {
    return settingText(request.naming, Setting::Port, setting) + ": ";
}

OpenedPort openPpdev(const PortRequest& request, std::string_view setting, const std::string& path,
                     const PortBackends& backends) {
    std::unique_ptr<PpdevPort> port;
    if (const Status opened =
            openPpdevPort(path, backends.parportDevice(), backends.holdClock(), port);
        !opened)
        return OpenedPort{
            nullptr,
            "",
            {StatusCode::PortError, settingPrefix(request, setting) + opened.message()}};
    return OpenedPort{std::move(port), described(request, "ppdev on " + path), {}};
}

OpenedPort openDirect(const PortRequest& request, std::string_view setting,
                      const PortBackends& backends) {
    const std::unique_ptr<PrivilegeCalls> privileges = backends.privileges();
    DirectIoOpened opening;
    if (const Status opened = openDirectIoPort(backends.portInstructions(), *privileges,
                                               backends.holdClock(), opening);
        !opened)
        return OpenedPort{
            nullptr,
            "",
            {StatusCode::PortError, settingPrefix(request, setting) + opened.message()}};
    return OpenedPort{std::move(opening.port), described(request, opening.description), {}};
}

// The windows never run as root: a sudo start gives up root as soon as the port is open.
OpenedPort droppingRoot(const PortRequest& request, std::string_view setting, OpenedPort opened,
                        const PortBackends& backends) {
    if (opened.port == nullptr)
        return opened;
    const std::unique_ptr<PrivilegeCalls> privileges = backends.privileges();
    std::optional<UserIdentity> user;
    if (const Status dropped = dropRootToSudoUser(*privileges, user); !dropped)
        return OpenedPort{
            nullptr,
            "",
            {StatusCode::NotPermitted, settingPrefix(request, setting) + dropped.message()}};
    if (user) {
        opened.description +=
            ", running as uid " + std::to_string(user->uid) + " gid " + std::to_string(user->gid);
    }
    return opened;
}

OpenedPort openSimulated(const PortRequest& request, std::string_view setting,
                         const PortBackends& backends) {
    SimulatedModuleSettings settings;
    if (setting.starts_with(simulatedParametersPrefix)) {
        if (const Status parsed = parseSimulatedModuleSettings(
                setting.substr(simulatedParametersPrefix.size()), settings);
            !parsed)
            return OpenedPort{
                nullptr, "", {parsed.code(), settingPrefix(request, setting) + parsed.message()}};
    }
    const Pace paced = paceFrom(request.pace);
    if (!paced.valid)
        return OpenedPort{nullptr,
                          "",
                          {StatusCode::PortError,
                           settingText(request.naming, Setting::Pace, *request.pace) +
                               " is not a pace; accepted values: hardware (about 1 us a port "
                               "access, as on a real parallel port), a number of microseconds "
                               "a port access up to 100 (0.5 or 2us), or off"}};
    // The module needs no privilege: root goes first, then the scene is read as the user.
    std::string dropped;
    if (request.simulatedDropsRoot) {
        OpenedPort opened =
            droppingRoot(request, "sim",
                         OpenedPort{std::make_unique<SimulatedCameraModule>(), "", {}}, backends);
        if (opened.port == nullptr)
            return opened;
        dropped = opened.description;
    }
    OpenedPort opened =
        openSimulatedModule(request, setting.empty() ? simulatedName : setting, settings, backends);
    if (opened.port == nullptr)
        return opened;
    opened.description += dropped;
    opened.module = static_cast<const SimulatedCameraModule*>(opened.port.get());
    if (paced.accessTime.count() > 0) {
        opened.port = std::make_unique<PacedPort>(std::move(opened.port), paced.accessTime,
                                                  backends.holdClock());
        opened.description += ", " + paced.text;
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
    return openPort(PortRequest{setting, scene, pace}, backends);
}

OpenedPort openPort(const PortRequest& request, const PortBackends& backends) {
    const std::string_view name = request.setting.value_or("sim");
    if (name.empty() || name == simulatedName || name.starts_with(simulatedParametersPrefix))
        return openSimulated(request, name, backends);
    if (name == ppdevName)
        return droppingRoot(request, name,
                            openPpdev(request, name, std::string(defaultParportDevice), backends),
                            backends);
    if (name.starts_with(ppdevPathPrefix) && name.size() > ppdevPathPrefix.size()) {
        const std::string path(name.substr(ppdevPathPrefix.size()));
        return droppingRoot(request, name, openPpdev(request, name, path, backends), backends);
    }
    if (name == directName)
        return openDirect(request, name, backends); // drops root itself, between grant and use
    const bool environment = request.naming == SettingNaming::Environment;
    return OpenedPort{nullptr,
                      "",
                      {StatusCode::PortError,
                       settingText(request.naming, Setting::Port, name) +
                           " is not a known port backend; accepted values: sim (the simulated "
                           "camera module, also used when " +
                           (environment ? "ORVANE_PORT is unset" : "device is empty") +
                           "), sim:PARAMETERS (the simulated module with parameters, such as "
                           "sim:scene=card,reference), ppdev (the parallel-port device "
                           "/dev/parport0, for members of "
                           "group lp), ppdev:/dev/parportN (another parallel-port device), direct "
                           "(the processor's port instructions on x86, started with sudo)"}};
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
