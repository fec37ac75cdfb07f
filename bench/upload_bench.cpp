// Benchmarks: one whole upload on the simulated module (start-up geometry and the largest RGB
// window) and on a port that does nothing, and the two conversions alone.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/control_panel_dialog.h"
#include "app/headless/headless_panel.h"
#include "app/viewer_launch.h"
#include "image/rgb_planes.h"
#include "image/yuv422_to_rgb.h"
#include "port/tick_counter.h"
#include "port/trace_sink.h"
#include "resources/bmp_header_template.h"
#include "resources/panel_templates.h"
#include "sim/simulated_camera_module.h"

namespace orvane {
namespace {

class NoViewer final : public ViewerLauncher {
public:
    void launchViewer() override {}
};

// A port that does nothing: every write is dropped and every read gives the same byte.
class DoNothingPort final : public PortIo {
public:
    void writePort(uint16_t, uint8_t) override {}
    uint8_t readPort(uint16_t) override { return 0x80; }
};

// A panel in a scratch directory on the simulated module (or the given port).
class UploadRig {
public:
    explicit UploadRig(PortIo* port = nullptr)
        : directory_(makeDirectory()), dialog_{panel_,  port != nullptr ? *port : module_,
                                               trace_,  ticks_,
                                               viewer_, directory_} {
        writeBmpHeaderTemplate(directory_);
        dialog_.initialize();
    }
    ~UploadRig() {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
    HeadlessPanel& panel() { return panel_; }

private:
    static std::filesystem::path makeDirectory() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return pattern;
    }

    std::filesystem::path directory_;
    SimulatedCameraModule module_;
    CountingTraceSink trace_;
    MonotonicTickCounter ticks_;
    NoViewer viewer_;
    HeadlessPanel panel_{controlPanelTemplate};
    ControlPanelDialog dialog_;
};

void BM_UploadStartUpGeometry(benchmark::State& state) {
    UploadRig rig;
    rig.panel().click(1); // Set Register: 312 x 208 YUV, 626 bytes per line
    for (auto _ : state)
        rig.panel().click(1039);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 208 * 626);
}
BENCHMARK(BM_UploadStartUpGeometry)->Unit(benchmark::kMillisecond);

void BM_UploadLargestRgbWindow(benchmark::State& state) {
    UploadRig rig;
    rig.panel().click(1025);
    rig.panel().setEditText(1042, "56");
    rig.panel().setEditText(1044, "214");
    rig.panel().setEditText(1043, "5");
    rig.panel().setEditText(1045, "245");
    rig.panel().click(1); // 624 x 482 RGB, 627 bytes per line
    for (auto _ : state)
        rig.panel().click(1039);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 482 * 627);
}
BENCHMARK(BM_UploadLargestRgbWindow)->Unit(benchmark::kMillisecond);

// Everything an upload does but the port: 130,208 bytes read with three port accesses each
// (390,624 accesses) at the start-up geometry. share_of_port_time is the upload's thread CPU time
// as a part of what those accesses alone take at 1 us each on a real port.
void BM_UploadOnDoNothingPort(benchmark::State& state) {
    DoNothingPort port;
    UploadRig rig(&port);
    rig.panel().click(1); // 312 x 208 YUV, 626 bytes per line
    const auto threadSeconds = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
    };
    const double start = threadSeconds();
    for (auto _ : state)
        rig.panel().click(1039);
    const double perUpload = (threadSeconds() - start) / static_cast<double>(state.iterations());
    constexpr double portSeconds = 208 * 626 * 3 * 1e-6;
    state.counters["share_of_port_time"] = perUpload / portSeconds;
}
BENCHMARK(BM_UploadOnDoNothingPort)->Unit(benchmark::kMillisecond);

void BM_Yuv422ToRgb(benchmark::State& state) {
    FrameBuffers buffers;
    buffers.allocate();
    for (std::size_t i = 0; i < buffers.rawFrame().size(); ++i)
        buffers.rawFrame()[i] = static_cast<uint8_t>(i * 37 + 11);
    for (auto _ : state) {
        Yuv422ToRgb(buffers.rawFrame(), buffers.greenPlane(), buffers.bluePlane(),
                    buffers.redPlane(), 208, 312, 626);
        benchmark::DoNotOptimize(buffers.redPlane().data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 312 * 208);
}
BENCHMARK(BM_Yuv422ToRgb)->Unit(benchmark::kMicrosecond);

void BM_ReconstructRgbPlanes(benchmark::State& state) {
    FrameBuffers buffers;
    buffers.allocate();
    for (std::size_t i = 0; i < buffers.rawFrame().size(); ++i)
        buffers.rawFrame()[i] = static_cast<uint8_t>(i * 53 + 7);
    const FrameGeometry largest{624, 482, 482, 627};
    for (auto _ : state) {
        reconstructRgbPlanes(buffers, largest);
        benchmark::DoNotOptimize(buffers.redPlane().data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 624 * 482);
}
BENCHMARK(BM_ReconstructRgbPlanes)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orvane

BENCHMARK_MAIN();
