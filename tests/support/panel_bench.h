// A whole panel on the bench: the headless panel, the dialog and the simulated camera module,
// with every port access recorded and the trace kept in memory.
#pragma once

#include <filesystem>

#include "app/control_panel_dialog.h"
#include "app/headless/headless_panel.h"
#include "app/viewer_launch.h"
#include "resources/panel_templates.h"
#include "sim/simulated_camera_module.h"
#include "support/port_fakes.h"

namespace orvane::testing {

class CountingViewerLauncher final : public ViewerLauncher {
public:
    void launchViewer() override { ++launches; }
    int launches = 0;
};

struct PanelBench {
    explicit PanelBench(std::filesystem::path directory = std::filesystem::temp_directory_path())
        : dialog(panel, port, trace, ticks, viewer, std::move(directory)) {}

    // Initialises the dialog and forgets what that did on the port and in the trace.
    void start() {
        if (!dialog.initialize())
            throw std::runtime_error("buffers could not be allocated");
    }

    RegisterShadow& shadow() { return dialog.state().device.shadow; }
    SliderCopies& sliders() { return dialog.state().sliders; }
    FrameGeometry& geometry() { return dialog.state().device.geometry; }
    const std::vector<DecodedTransaction>& decoded() const { return module.bus().transactions(); }

    // The reference frames, so that pictures compare with the library's on sim:reference.
    SimulatedCameraModule module{referenceModel};
    RecordingPort port{&module};
    MemoryTraceSink trace;
    SteppingTickCounter ticks{0, 1};
    CountingViewerLauncher viewer;
    HeadlessPanel panel{controlPanelTemplate};
    ControlPanelDialog dialog;
};

} // namespace orvane::testing
