// The program around the panel.
#include "app/panel_app.h"

#include <csignal>
#include <filesystem>
#include <ostream>

#include "app/control_panel_dialog.h"
#include "image/viewer_launch.h"
#include "port/tick_counter.h"
#include "port/trace_sink.h"

namespace orvane {

bool PanelApp::openPort(std::ostream& messages) {
    opened_ = orvane::openPort(portSettingFromEnvironment(), sceneSettingFromEnvironment());
    if (opened_.port == nullptr) {
        messages << opened_.error << '\n';
        return false;
    }
    messages << opened_.description << '\n';
    return true;
}

int PanelApp::run(Panel& panel, const std::function<int()>& runModal, std::ostream& messages) {
    StdoutTraceSink trace;
    MonotonicTickCounter ticks;
    SpawnViewerLauncher viewer;
    std::error_code error;
    std::filesystem::path workDirectory = std::filesystem::current_path(error);
    if (error)
        workDirectory = ".";
    ControlPanelDialog dialog(panel, *opened_.port, trace, ticks, viewer, workDirectory);
    if (!dialog.initialize()) {
        messages << "orvane: not enough memory for the frame buffers; close other programs and "
                    "start again\n";
        return 1;
    }
    runModal();
    return 0;
}

void ignoreBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace orvane
