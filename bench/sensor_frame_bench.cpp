// Benchmarks: one sensor frame of the simulated module, realistic (light, noise, the picture
// processing) against the reference frame, at the panel's start-up window and the largest RGB
// window, what the automatic loops measure of a frame, and a capture's check for a signal.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "image/frame_signal.h"
#include "sim/frame_renderer.h"
#include "sim/sensor_pipeline.h"

namespace orvane {
namespace {

SensorRegisterFile registersFor(bool rgb) {
    SensorRegisterFile sensor;
    const uint8_t window[][2] = {
        {0x17, 56}, {0x18, 214}, {0x19, 5}, {0x1A, uint8_t(rgb ? 245 : 212)}};
    for (const auto& [address, value] : window)
        sensor.write(address, value);
    sensor.write(0x12, rgb ? 0x2C : 0x24);
    sensor.write(0x10, 0xFF);
    sensor.write(0x11, 2);
    return sensor;
}

// state.range(0): 0 the start-up YUV window (312 x 208), 1 the largest RGB window (624 x 482).
void BM_SensorFrameRealistic(benchmark::State& state) {
    const Scene scene = builtinScene();
    const SensorRegisterFile sensor = registersFor(state.range(0) != 0);
    SensorPipeline pipeline{SensorModelSettings{}};
    std::vector<uint8_t> frame;
    uint64_t number = 0;
    for (auto _ : state) {
        pipeline.render(scene, 1.0, sensor, number++, frame);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_SensorFrameRealistic)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SensorFrameReference(benchmark::State& state) {
    const Scene scene = builtinScene();
    const SensorRegisterFile sensor = registersFor(state.range(0) != 0);
    std::vector<uint8_t> frame;
    for (auto _ : state) {
        renderFrame(scene, sensor, frame);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(BM_SensorFrameReference)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SensorLoopMeasure(benchmark::State& state) {
    const Scene scene = builtinScene();
    const SensorRegisterFile sensor = registersFor(false);
    const SensorPipeline pipeline{SensorModelSettings{}};
    for (auto _ : state)
        benchmark::DoNotOptimize(pipeline.measure(scene, 1.0, sensor));
}
BENCHMARK(BM_SensorLoopMeasure)->Unit(benchmark::kMicrosecond);

// A capture's check that its frame is a picture, at the start-up window: set against
// BM_UploadStartUpGeometry, the upload it follows. state.range(0): 0 a realistic frame, 1 a frame
// of nothing but 0xFF (the whole frame is read).
void BM_FrameSignalCheck(benchmark::State& state) {
    const SensorRegisterFile sensor = registersFor(false);
    SensorPipeline pipeline{SensorModelSettings{}};
    std::vector<uint8_t> frame;
    const SensorFrameLayout layout = pipeline.render(builtinScene(), 1.0, sensor, 0, frame);
    if (state.range(0) != 0)
        std::fill(frame.begin(), frame.end(), uint8_t{0xFF});
    for (auto _ : state)
        benchmark::DoNotOptimize(frameSignal(frame, layout.lines, layout.bytesPerLine));
}
BENCHMARK(BM_FrameSignalCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace orvane
