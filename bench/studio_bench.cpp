// Benchmarks of the studio's capture-convert loop on the simulated module, without the window:
// the ceiling of the live view's frame rate in the start-up CIF YUV frame and the largest RGB
// window, and the simulated module's frame serving alone.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include <orvane/camera.h>

#include "geometry/frame_geometry.h"
#include "image/frame_buffers.h"
#include "image/live_frame.h"
#include "port/trace_sink.h"
#include "sim/simulated_camera_module.h"

namespace orvane {
namespace {

// What the worker does per frame: the picture straight into an RGB32 image's rows and the raw
// bytes beside it.
void runLiveView(benchmark::State& state, const std::vector<ControlSetting>& settings) {
    Status status;
    std::unique_ptr<Camera> camera = Camera::open("sim", status);
    if (camera == nullptr || !camera->set(settings))
        std::abort();
    FrameLayout picture;
    FrameLayout raw;
    if (!camera->layout(PixelFormat::Xrgb32, picture) || !camera->layout(PixelFormat::Raw, raw))
        std::abort();
    std::vector<uint8_t> image(picture.bytes);
    std::vector<uint8_t> bytes(raw.bytes);
    const FrameTarget targets[] = {{PixelFormat::Xrgb32, image.data(), image.size(), 0},
                                   {PixelFormat::Raw, bytes.data(), bytes.size(), 0}};
    for (auto _ : state) {
        if (!camera->capture(targets))
            std::abort();
        benchmark::DoNotOptimize(image.data());
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(raw.bytes));
}

void BM_LiveViewCifYuv(benchmark::State& state) {
    runLiveView(state, {}); // the start-up frame: 312 x 208 YUV, 626 bytes per line
}
BENCHMARK(BM_LiveViewCifYuv)->Unit(benchmark::kMillisecond);

void BM_LiveViewLargestRgbWindow(benchmark::State& state) {
    runLiveView(state, {{"format", 1},
                        {"window-h-start", 56},
                        {"window-h-end", 214},
                        {"window-v-start", 5},
                        {"window-v-end", 245}}); // 624 x 482 RGB, 627 bytes per line
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
