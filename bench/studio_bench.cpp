// Benchmarks of the studio's capture-convert loop on the simulated module, without the window:
// the ceiling of the live view's frame rate in the start-up CIF YUV frame and the largest RGB
// window, and the simulated module's frame serving alone.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "image/frame_buffers.h"
#include "image/frame_geometry.h"
#include "image/live_frame.h"
#include "port/trace_sink.h"
#include "sim/simulated_camera_module.h"
#include "studio/studio_session.h"

namespace orvane {
namespace {

void runLiveView(benchmark::State& state, const std::vector<std::string>& settings) {
    SimulatedCameraModule module;
    CountingTraceSink trace;
    StudioSession session(module, trace, std::filesystem::temp_directory_path());
    if (!session.start())
        std::abort();
    session.run(settings);
    LiveFrame frame;
    for (auto _ : state) {
        if (!session.capture(frame))
            std::abort();
        benchmark::DoNotOptimize(frame.rgb.data());
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(frame.raw.size()));
}

void BM_LiveViewCifYuv(benchmark::State& state) {
    runLiveView(state, {}); // the start-up frame: 312 x 208 YUV, 626 bytes per line
}
BENCHMARK(BM_LiveViewCifYuv)->Unit(benchmark::kMillisecond);

void BM_LiveViewLargestRgbWindow(benchmark::State& state) {
    runLiveView(state, {"click 1025", "type 1042 56", "type 1044 214", "type 1043 5",
                        "type 1045 245", "press 1"}); // 624 x 482 RGB, 627 bytes per line
}
BENCHMARK(BM_LiveViewLargestRgbWindow)->Unit(benchmark::kMillisecond);

// The frame handshake alone: what the simulated module costs per frame.
void BM_SimulatedFrameHandshake(benchmark::State& state) {
    SimulatedCameraModule module;
    CountingTraceSink trace;
    FrameBuffers buffers;
    buffers.allocate();
    const FrameGeometry geometry{312, 208, 208, 626};
    for (auto _ : state)
        captureFrame(module, trace, geometry, buffers.rawFrame());
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulatedFrameHandshake)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace orvane

BENCHMARK_MAIN();
