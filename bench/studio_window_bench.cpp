// The studio window's own time per frame: taking a frame and painting the picture, the
// histogram and the status bar, on the offscreen platform, with a frame the simulated module
// gave. What the live view costs the window thread, apart from the capture.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>

#include <cstdlib>

#include <orvane/camera.h>

#include "studio/frame_histogram.h"
#include "studio/histogram_view.h"
#include "studio/picture_view.h"
#include "studio/studio_link.h"
#include "studio/studio_window.h"
#include "studio/studio_worker.h"

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
    double picture = 0;
    double histogram = 0;
    for (auto _ : state) {
        ++frame.number;
        window.showFrame(frame);
        QApplication::processEvents(); // the paints the frame asked for
        picture += window.pictureView()->lastPaintMilliseconds();
        histogram += window.histogramView()->lastPaintMilliseconds();
    }
    // Where the time goes: the two paints of each frame.
    state.counters["picture_ms"] = picture / double(state.iterations());
    state.counters["histogram_ms"] = histogram / double(state.iterations());
    state.counters["fps"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WindowShowsAFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// From a brightness change asked for in the window to the first shown frame that has it, in
// frames shown and milliseconds, with the worker on a thread of its own as in the studio.
void BM_ControlToFrameLatency(benchmark::State& state) {
    Status status;
    auto worker = std::make_unique<StudioWorker>(Camera::open("sim", status));
    QThread thread;
    worker->moveToThread(&thread);
    StudioWindow window{QDir::temp()};
    linkStudio(*worker, window);
    window.show();
    thread.start();
    QMetaObject::invokeMethod(worker.get(), &StudioWorker::start, Qt::QueuedConnection);
    // The next frame shown after the after-th; a brightness change is the only thing that
    // changes the picture.
    const auto frameAfter = [&](quint64 after) {
        while (window.framesShown() <= after)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return window.currentFrame();
    };
    QElapsedTimer running;
    running.start();
    double frames = 0;
    double milliseconds = 0;
    int brightness = 128;
    StudioFrame last = frameAfter(0);
    int phase = 0;
    for (auto _ : state) {
        // Asked at a different point of a frame each time, as a user's hand would.
        QElapsedTimer wait;
        wait.start();
        phase = (phase + 3) % 7;
        while (wait.nsecsElapsed() < phase * 1000000)
            QApplication::processEvents();
        brightness = brightness == 128 ? 200 : 128;
        const quint64 askedAt = window.framesShown();
        QElapsedTimer clock;
        clock.start();
        emit window.settingsRequested({{"brightness", brightness}});
        StudioFrame shown = last;
        while (shown.image == last.image)
            shown = frameAfter(window.framesShown());
        frames += double(window.framesShown() - askedAt);
        milliseconds += double(clock.nsecsElapsed()) / 1e6;
        last = shown;
    }
    QMetaObject::invokeMethod(worker.get(), &StudioWorker::stop, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    const double period = double(running.nsecsElapsed()) / 1e6 / double(worker->framesCaptured());
    state.counters["frames"] = frames / double(state.iterations());
    state.counters["ms"] = milliseconds / double(state.iterations());
    // The rest of the frame under way when asked, then the changed one.
    state.counters["periods"] = milliseconds / double(state.iterations()) / period;
    state.counters["skipped"] = double(worker->mailbox().skipped());
}
BENCHMARK(BM_ControlToFrameLatency)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

// At a parallel port's pace (about 0.4 s a frame, its rows shown as they arrive) the window
// keeps answering: a wheel turn over the picture, posted as the system would, changes the zoom
// within this long (the worst and the mean; the aim is under 100 ms).
void BM_WheelAnswerAtHardwarePace(benchmark::State& state) {
    Status status;
    CameraOptions options;
    options.simulatedPace = "hardware";
    auto worker = std::make_unique<StudioWorker>(Camera::open("sim", status, options));
    QThread thread;
    worker->moveToThread(&thread);
    StudioWindow window{QDir::temp()};
    linkStudio(*worker, window);
    window.resize(1180, 760);
    window.show();
    PictureView& picture = *window.pictureView();
    bool zoomed = false;
    QObject::connect(&picture, &PictureView::zoomChanged, [&] { zoomed = true; });
    thread.start();
    QMetaObject::invokeMethod(worker.get(), &StudioWorker::start, Qt::QueuedConnection);
    while (window.framesShown() == 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    double worst = 0;
    double total = 0;
    int notches = 120;
    for (auto _ : state) {
        // Between turns, a while of the live view: rows arriving, frames shown.
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 23)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        zoomed = false;
        const QPointF centre = QRectF(picture.rect()).center();
        QElapsedTimer clock;
        clock.start();
        QCoreApplication::postEvent(
            &picture, new QWheelEvent(centre, picture.mapToGlobal(centre), {}, {0, notches},
                                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false));
        notches = -notches;
        while (!zoomed)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double milliseconds = double(clock.nsecsElapsed()) / 1e6;
        worst = std::max(worst, milliseconds);
        total += milliseconds;
    }
    QMetaObject::invokeMethod(worker.get(), &StudioWorker::stop, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    state.counters["worst_ms"] = worst;
    state.counters["mean_ms"] = total / double(state.iterations());
    state.counters["frames"] = double(worker->framesCaptured());
}
BENCHMARK(BM_WheelAnswerAtHardwarePace)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(100);

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
