// orvane-pipewire: the camera as a PipeWire video source, until SIGTERM.
#include <pipewire/pipewire.h>

#include <orvane/camera.h>
#include <orvane/probe.h>
#include <orvane/profile.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "camera_node.h"
#include "node_camera.h"
#include "pipewire_options.h"

namespace {

constexpr int usageStatus = 2;
// A camera that cannot be opened, a profile that cannot be read, no PipeWire to publish on.
constexpr int startFailureStatus = 1;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void quit(void* loop, int) {
    pw_main_loop_quit(static_cast<pw_main_loop*>(loop));
}

// PipeWire going away ends the program with status 1, so that a service manager starts it again
// with the next PipeWire.
struct CoreWatch {
    pw_main_loop* loop;
    int result = 0;
    pw_core_events events{};
    spa_hook listener{};

    static void onError(void* data, uint32_t id, int, int res, const char* message) {
        auto& watch = *static_cast<CoreWatch*>(data);
        if (id != PW_ID_CORE || res != -EPIPE)
            return;
        std::cerr << "orvane-pipewire: PipeWire has gone (" << message << ")\n";
        watch.result = startFailureStatus;
        pw_main_loop_quit(watch.loop);
    }
};

// The profile's settings, in its order; a line or value it cannot use is said and left out.
bool applyProfile(orvane::NodeCamera& camera, const std::string& path) {
    orvane::ProfileReading reading;
    if (const orvane::Status status = orvane::readSettingsProfileFile(path, reading); !status) {
        std::cerr << "orvane-pipewire: " << status.message() << '\n';
        return false;
    }
    for (const std::string& problem : reading.problems)
        std::cerr << "orvane-pipewire: " << path << ": " << problem << '\n';
    for (const orvane::ControlChange& change : reading.changes) {
        const orvane::ControlSetting setting{change.name, change.value};
        if (const orvane::Status status = camera.change({&setting, 1}); !status)
            std::cerr << "orvane-pipewire: " << path << ": " << status.message() << '\n';
    }
    return true;
}

// What the node is called in programs' camera lists: no "IR" in it, which some hide.
std::string nodeDescription(const orvane::NodeCamera& camera) {
    if (camera.portName().starts_with("simulated"))
        return "Orvane camera (simulated module)";
    return "Orvane camera (" + camera.portName() + ")";
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const orvane::PipewireOptions options = orvane::parsePipewireOptions(std::span(argv, argc));
    if (!options.error.empty()) {
        std::cerr << "orvane-pipewire: " << options.error
                  << "\nUsage: orvane-pipewire [--device DEVICE]; orvane-pipewire --help\n";
        return usageStatus;
    }
    if (options.help) {
        orvane::printPipewireHelp(std::cout);
        return 0;
    }
    if (options.version) {
        std::cout << "orvane-pipewire " << orvane::version() << '\n';
        return 0;
    }

    orvane::CameraOptions cameraOptions;
    cameraOptions.scene = environment("ORVANE_SCENE");
    cameraOptions.simulatedPace = options.pace.value_or(environment("ORVANE_SIM_PACE"));
    const std::string device = options.device.value_or(environment("ORVANE_PORT"));
    orvane::Status opened;
    std::unique_ptr<orvane::NodeCamera> camera =
        orvane::NodeCamera::create(device, cameraOptions, opened);
    if (camera == nullptr) {
        std::cerr << "orvane-pipewire: " << opened.message() << '\n';
        // On a port, the first of the probe's checks that fails without driving it says why.
        for (const orvane::ProbeCheck& check : orvane::probe(device, {.driving = false})) {
            if (check.result == orvane::ProbeResult::Failed) {
                std::cerr << "orvane-pipewire: probe: " << check.check << ": " << check.text
                          << " (orvane-cli --probe runs every check)\n";
                break;
            }
        }
        return startFailureStatus;
    }
    if (!opened)
        std::cerr << "orvane-pipewire: " << opened.message() << '\n';
    if (options.profile && !applyProfile(*camera, *options.profile))
        return startFailureStatus;

    pw_init(&argc, &argv);
    int result = 0;
    {
        pw_main_loop* loop = pw_main_loop_new(nullptr);
        pw_loop* events = pw_main_loop_get_loop(loop);
        pw_loop_add_signal(events, SIGINT, quit, loop);
        pw_loop_add_signal(events, SIGTERM, quit, loop);
        pw_context* context = pw_context_new(events, nullptr, 0);
        pw_core* core = context != nullptr ? pw_context_connect(context, nullptr, 0) : nullptr;
        if (core == nullptr) {
            std::cerr << "orvane-pipewire: cannot reach PipeWire (" << strerror(errno)
                      << "); is it running for this user (systemctl --user status pipewire)?\n";
            result = startFailureStatus;
        } else {
            CoreWatch watch{loop};
            watch.events.version = PW_VERSION_CORE_EVENTS;
            watch.events.error = CoreWatch::onError;
            pw_core_add_listener(core, &watch.listener, &watch.events, &watch);
            auto node = std::make_unique<orvane::CameraNode>(events, core, *camera,
                                                             nodeDescription(*camera));
            if (node->connect())
                pw_main_loop_run(loop);
            else
                result = startFailureStatus;
            node.reset();
            spa_hook_remove(&watch.listener);
            result = std::max(result, watch.result);
            pw_core_disconnect(core);
        }
        if (context != nullptr)
            pw_context_destroy(context);
        pw_main_loop_destroy(loop);
    }
    pw_deinit();
    return result;
}
