// Set Register with its trace on the process's standard output, to compare a terminal with
// /dev/null: run under `script -qc '...' /dev/null` and with standard output to /dev/null, each
// with --benchmark_out=FILE, as the trace fills the console. Once on the bare simulated module,
// once with the hardware backends' hold after each control write of the bus.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/control_panel_dialog.h"
#include "app/headless/headless_panel.h"
#include "app/viewer_launch.h"
#include "port/hold_clock.h"
#include "port/tick_counter.h"
#include "port/trace_sink.h"
#include "resources/panel_templates.h"
#include "sim/simulated_camera_module.h"

namespace orvane {
namespace {

class NoViewer final : public ViewerLauncher {
public:
    void launchViewer() override {}
};

// The simulated module with the busy-wait hold of the hardware backends: the bus takes as long
// as on a real port.
class HeldModule final : public PortIo {
public:
    void writePort(uint16_t port, uint8_t value) override { module_.writePort(port, value); }
    uint8_t readPort(uint16_t port) override { return module_.readPort(port); }
    void holdBusLevel() override { busyWait(clock_, controlHoldTime); }

private:
    SimulatedCameraModule module_;
    MonotonicHoldClock clock_;
};

// Every register the start-up Set Register sends (48 of them, 238 trace lines each), each time.
template <typename Port> void BM_SetRegisterToStandardOutput(benchmark::State& state) {
    Port module;
    StdoutTraceSink trace;
    MonotonicTickCounter ticks;
    NoViewer viewer;
    HeadlessPanel panel{controlPanelTemplate};
    ControlPanelDialog dialog{panel, module, trace,
                              ticks, viewer, std::filesystem::temp_directory_path()};
    dialog.initialize();
    std::vector<uint8_t> startUpFlags;
    for (const ShadowEntry& entry : dialog.state().device.shadow.entries())
        startUpFlags.push_back(entry.pending);
    for (auto _ : state) {
        auto& entries = dialog.state().device.shadow.entries();
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i].pending = startUpFlags[i];
        panel.click(1);
        panel.clearMessages();
    }
}
BENCHMARK(BM_SetRegisterToStandardOutput<SimulatedCameraModule>)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SetRegisterToStandardOutput<HeldModule>)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace orvane
