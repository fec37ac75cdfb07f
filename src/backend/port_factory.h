// Picks the port backend named by ORVANE_PORT.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/status.h"
#include "port/direct_io_port.h"
#include "port/hold_clock.h"
#include "port/port_io.h"
#include "port/ppdev_port.h"
#include "port/privileges.h"
#include "port/setting_names.h"
#include "sim/scene.h"

namespace orvane {

class SimulatedCameraModule;

struct OpenedPort {
    std::unique_ptr<PortIo> port; // null when the backend could not be opened
    std::string description;      // what the program says on standard error
    Status status;                // why it could not be opened, with what to do
    // The simulated module behind port (perhaps paced), whose registers can be read back; null
    // for hardware.
    const SimulatedCameraModule* module = nullptr;
};

// What the hardware backends are built from; tests put fakes in.
struct PortBackends {
    std::function<std::unique_ptr<ParportDevice>()> parportDevice;
    std::function<std::unique_ptr<PortInstructions>()> portInstructions;
    std::function<std::unique_ptr<PrivilegeCalls>()> privileges;
    std::function<std::unique_ptr<HoldClock>()> holdClock;
    std::function<Status(const std::filesystem::path&, std::optional<Scene>&)> loadScene;
};

// The real device, instructions, system calls and monotonic clock.
PortBackends systemPortBackends();

// setting is the value of ORVANE_PORT, or nullopt when it is unset:
// - unset, empty or "sim": the simulated camera module, which shows the picture in the PPM file
//   scene names (the value of ORVANE_SCENE) or, when that is unset or empty, its built-in scene;
//   "sim:PARAMETERS" the same with the module's parameters (sim/module_settings.h), whose scene
//   comes before ORVANE_SCENE;
// - "ppdev" or "ppdev:PATH": the Linux parallel-port device /dev/parport0 or PATH;
// - "direct": the processor's port instructions, for x86 started with sudo. Opening it drops
//   root for the whole process, so call it before any window, file or viewer exists.
// Anything else is refused with the list of accepted values. A process running as root that sudo
// (or a set-user-ID start) gave root gives it up for that user once the port is open, whatever
// the backend; a port whose drop fails is closed again and the error says why.
//
// pace (the value of ORVANE_SIM_PACE) makes the simulated module take as long per port access as
// real hardware: "hardware" (about 1 us an access, about 0.4 s a CIF frame), a number of
// microseconds an access (up to maxSimulatedPaceMicroseconds), or unset, empty, "0" or "off" for
// no wait. A pace that is none of these is refused; the hardware backends take their own time
// and ignore it.
OpenedPort openPort(std::optional<std::string_view> setting,
                    std::optional<std::string_view> scene = std::nullopt,
                    std::optional<std::string_view> pace = std::nullopt);
OpenedPort openPort(std::optional<std::string_view> setting, std::optional<std::string_view> scene,
                    const PortBackends& backends,
                    std::optional<std::string_view> pace = std::nullopt);

// The slowest pace a simulated module takes, in microseconds a port access.
constexpr double maxSimulatedPaceMicroseconds = 100;

// A port asked for by a library caller rather than a program's environment.
struct PortRequest {
    std::optional<std::string_view> setting;
    std::optional<std::string_view> scene;
    std::optional<std::string_view> pace;
    // How the texts name the settings.
    SettingNaming naming = SettingNaming::Environment;
    // A sudo start gives up root for the simulated module too, as the programs do; a library
    // caller's process keeps its privileges unless a real port needs them given up.
    bool simulatedDropsRoot = true;
};
OpenedPort openPort(const PortRequest& request, const PortBackends& backends);

// Read ORVANE_PORT, ORVANE_SCENE and ORVANE_SIM_PACE from the environment.
std::optional<std::string_view> portSettingFromEnvironment();
std::optional<std::string_view> sceneSettingFromEnvironment();
std::optional<std::string_view> paceSettingFromEnvironment();

} // namespace orvane
