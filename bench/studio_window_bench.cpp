// The studio window's own time per frame: taking a frame and painting the picture, the
// histogram and the status bar, on the offscreen platform, with a frame the simulated module
// gave. What the live view costs the window thread, apart from the capture.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

#include <cstdlib>

#include <orvane/camera.h>

#include "studio/frame_histogram.h"
#include "studio/studio_window.h"

namespace orvane {
namespace {

StudioFrame capturedFrame() {
    Status status;
    std::unique_ptr<Camera> camera = Camera::open("sim", status);
    FrameLayout picture;
    if (camera == nullptr || !camera->layout(PixelFormat::Xrgb32, picture))
        std::abort();
    StudioFrame frame;
    frame.image = QImage(int(picture.width), int(picture.height), QImage::Format_RGB32);
    if (!camera->capture(PixelFormat::Xrgb32,
                         {frame.image.bits(), std::size_t(frame.image.sizeInBytes())},
                         std::size_t(frame.image.bytesPerLine()), &frame.info))
        std::abort();
    frame.histogram =
        histogramOf(std::span(reinterpret_cast<const uint32_t*>(frame.image.constBits()),
                              std::size_t(frame.image.width()) * frame.image.height()));
    return frame;
}

void BM_WindowShowsAFrame(benchmark::State& state) {
    StudioWindow window{QDir::temp()};
    window.resize(1180, 760);
    window.show();
    StudioFrame frame = capturedFrame();
    for (auto _ : state) {
        ++frame.number;
        window.showFrame(frame);
        QApplication::processEvents(); // the paints the frame asked for
    }
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WindowShowsAFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
} // namespace orvane

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", QDir::temp().filePath("orvane-studio-window-bench").toLocal8Bit());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
