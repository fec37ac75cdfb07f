// The program around the panel.
#include "app/panel_app.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "app/control_panel_dialog.h"
#include "app/viewer_launch.h"
#include "orvane/camera.h"
#include "port/tick_counter.h"
#include "port/trace_sink.h"
#include "port/vcd_recorder.h"

namespace orvane {

PortSettings portSettingsFromEnvironment() {
    PortSettings settings{portSettingFromEnvironment(), sceneSettingFromEnvironment(),
                          std::nullopt};
    if (const char* vcd = std::getenv("ORVANE_VCD"))
        settings.vcd = std::string_view(vcd);
    if (const char* limit = std::getenv("ORVANE_VCD_LIMIT"))
        settings.vcdLimit = std::string_view(limit);
    settings.pace = paceSettingFromEnvironment();
    return settings;
}

PanelApp::PanelApp() = default;
PanelApp::~PanelApp() = default;

bool PanelApp::openPort(std::ostream& messages) {
    return openPort(portSettingsFromEnvironment(), messages);
}

bool PanelApp::openPort(const PortSettings& settings, std::ostream& messages) {
    port_ = CameraPort{};
    PortRecording recording;
    if (settings.vcd && !settings.vcd->empty()) {
        recording.path = std::filesystem::path(*settings.vcd);
        if (const Status limit =
                recordingLimitFrom(settings.vcdLimit.value_or(""), recording.limit);
            !limit) {
            messages << limit.message() << '\n';
            return false;
        }
    }
    const PortRequest request{settings.port, settings.scene, settings.pace};
    if (const Status opened = openCameraPort(request, systemPortBackends(), recording, port_);
        !opened) {
        messages << opened.message() << '\n';
        return false;
    }
    messages << port_.opened.description << '\n';
    if (port_.recorder != nullptr)
        messages << "orvane: recording every port access in " << port_.recorder->path().string()
                 << " (ORVANE_VCD)\n";
    return true;
}

PortIo* PanelApp::port() {
    return port_.driven;
}

int PanelApp::run(Panel& panel, const std::function<int()>& runModal, std::ostream& messages) {
    SpawnViewerLauncher viewer;
    return runSession(
        panel, viewer,
        [&](ControlPanelDialog&) {
            runModal(); // 2 after Exit; the program ends normally either way
            return 0;
        },
        messages);
}

int PanelApp::runSession(Panel& panel, ViewerLauncher& viewer,
                         const std::function<int(ControlPanelDialog&)>& session,
                         std::ostream& messages) {
    int status = 0;
    {
        StdoutTraceSink trace;
        MonotonicTickCounter ticks;
        std::error_code error;
        std::filesystem::path workDirectory = std::filesystem::current_path(error);
        if (error)
            workDirectory = ".";
        ControlPanelDialog dialog(panel, *port(), trace, ticks, viewer, workDirectory);
        dialog.state().notes = &messages;
        if (dialog.initialize()) {
            status = session(dialog);
        } else {
            messages << "orvane: not enough memory for the frame buffers; close other programs "
                        "and start again\n";
            status = startFailureStatus;
        }
    }
    if (!finishRecording(messages) && status == 0)
        status = startFailureStatus;
    return status;
}

bool PanelApp::finishRecording(std::ostream& messages) {
    const VcdRecorder* recorder = port_.recorder.get();
    if (recorder == nullptr)
        return true;
    const bool complete = port_.recorder->close();
    if (recorder->limitReached())
        messages << recordingLimitMessage(recorder->path().string()) << '\n';
    if (!complete) {
        messages << "orvane: ORVANE_VCD=" << recorder->path().string()
                 << ": the recording could not be written completely (disk full?)\n";
    }
    return complete;
}

void ignoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace orvane
