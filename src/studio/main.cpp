// orvane-studio: the live-view front end. Opens the camera before any window, runs it on a worker
// thread and the window on the main thread.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include <orvane/camera.h>
#include <orvane/probe.h>

#include "file_trace_sink.h"
#include "quit_signals.h"
#include "studio_link.h"
#include "studio_options.h"
#include "studio_window.h"
#include "studio_worker.h"

namespace {

constexpr int usageStatus = 2;
// A camera that cannot be opened, a trace or recording that cannot be written.
constexpr int startFailureStatus = 1;
// How long the end of a run waits for a trace pipe that takes nothing.
constexpr std::chrono::seconds quitPatience{2};
// How long the end of a run waits for the camera's thread, which the trace gives up on by then.
constexpr std::chrono::seconds stuckWorkerPatience{5};
constexpr std::chrono::milliseconds slowFramePatience{500};

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

int main(int argc, char** argv) {
    // Standard output that is closed or broken must not stop the program.
    std::signal(SIGPIPE, SIG_IGN);
    orvane::QuitSignals::block();
    const orvane::StudioOptions options = orvane::parseStudioOptions(std::span(argv, argc));
    if (!options.error.empty()) {
        std::cerr << "orvane-studio: " << options.error
                  << "\nUsage: orvane-studio [--trace FILE]; orvane-studio --help\n";
        return usageStatus;
    }
    if (options.help) {
        orvane::printStudioHelp(std::cout);
        return 0;
    }
    if (options.version) {
        std::cout << "orvane-studio " << orvane::version() << '\n';
        return 0;
    }

    std::unique_ptr<orvane::FileTraceSink> trace;
    if (options.traceFile)
        trace = std::make_unique<orvane::FileTraceSink>(*options.traceFile);
    // ORVANE_PORT, ORVANE_SCENE and ORVANE_VCD as every Orvane program reads them. Started with
    // sudo, the camera gives up root once the port is open (giveUpRoot), before any window or file.
    orvane::CameraOptions cameraOptions;
    cameraOptions.scene = environment("ORVANE_SCENE");
    cameraOptions.simulatedPace = options.pace.value_or(environment("ORVANE_SIM_PACE"));
    cameraOptions.recording = environment("ORVANE_VCD");
    if (!cameraOptions.recording.empty()) {
        const orvane::Status limit = orvane::recordingLimitFrom(environment("ORVANE_VCD_LIMIT"),
                                                                cameraOptions.recordingLimit);
        if (!limit) {
            std::cerr << limit.message() << '\n';
            return startFailureStatus;
        }
    }
    cameraOptions.trace = trace.get();
    cameraOptions.giveUpRoot = true;
    orvane::Status opened;
    std::unique_ptr<orvane::Camera> camera = orvane::Camera::open(
        options.device.value_or(environment("ORVANE_PORT")), opened, cameraOptions);
    if (camera == nullptr) {
        // The pace came from --pace or ORVANE_SIM_PACE; the message names the one given.
        std::string message = opened.message();
        constexpr std::string_view paceOption = "simulatedPace ";
        if (message.starts_with(paceOption))
            message.replace(0, paceOption.size(), options.pace ? "--pace " : "ORVANE_SIM_PACE ");
        std::cerr << "orvane-studio: " << message << '\n';
        // On a port, the first of the probe's checks that fails without driving it says why.
        for (const orvane::ProbeCheck& check : orvane::probe(
                 options.device.value_or(environment("ORVANE_PORT")), {.driving = false})) {
            if (check.result == orvane::ProbeResult::Failed) {
                std::cerr << "orvane-studio: probe: " << check.check << ": " << check.text
                          << " (orvane-cli --probe runs every check)\n";
                break;
            }
        }
        return startFailureStatus;
    }
    std::cerr << "orvane-studio: " << camera->description() << '\n';
    // The trace file is created as the user, once the camera is open.
    if (trace != nullptr) {
        if (const std::string error = trace->open(); !error.empty()) {
            std::cerr << "orvane-studio: cannot write the trace file " << *options.traceFile << ": "
                      << error << '\n';
            return startFailureStatus;
        }
    }
    if (!camera->recordingPath().empty())
        std::cerr << "orvane: recording every port access in " << camera->recordingPath()
                  << " (ORVANE_VCD)\n";
    if (!opened)
        std::cerr << "orvane-studio: " << opened.message() << '\n';

    QApplication application(argc, argv);
    orvane::QuitSignals quitSignals;
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setApplicationName(QStringLiteral("orvane-studio"));
    const QDir directory = QDir::current();

    // On the simulated module the Camera menu switches scenes and light, opening the module again
    // as this one was opened; not while a recording of its port accesses runs, which that would
    // start over.
    const std::string device = options.device.value_or(environment("ORVANE_PORT"));
    std::array<uint8_t, 256> moduleRegisters{};
    const bool offerScenes =
        camera->moduleRegisters(moduleRegisters) && cameraOptions.recording.empty();
    QThread thread;
    auto worker = std::make_unique<orvane::StudioWorker>(std::move(camera));
    worker->setOpener([cameraOptions](const std::string& other, orvane::Status& status) {
        return orvane::Camera::open(other, status, cameraOptions);
    });
    worker->moveToThread(&thread);
    orvane::StudioWindow window(directory);
    if (offerScenes)
        window.offerScenes(QString::fromStdString(device));
    using orvane::StudioWindow;
    using orvane::StudioWorker;
    QObject::connect(worker.get(), &StudioWorker::started, &window,
                     [&window, &options](const orvane::ControlValues& values) {
                         window.startWith(values, options.defaults);
                         window.show();
                     });
    orvane::linkStudio(*worker, window);
    QObject::connect(&window, &StudioWindow::quitRequested, &application, &QApplication::quit);
    QObject::connect(&quitSignals, &orvane::QuitSignals::quitRequested, &window, &QWidget::close);

    // A trace that starts to lose lines is said once in the status bar, while the run goes on.
    QTimer traceWatch;
    if (trace != nullptr) {
        QObject::connect(&traceWatch, &QTimer::timeout, &window, [&] {
            if (trace->complete())
                return;
            traceWatch.stop();
            window.showStatus(QStringLiteral("The trace file could not be written completely "
                                             "(disk full, or its reader stopped?)"));
        });
        traceWatch.start(500);
    }

    QElapsedTimer clock;
    clock.start();
    thread.start();
    QMetaObject::invokeMethod(worker.get(), &StudioWorker::start, Qt::QueuedConnection);
    const int status = QApplication::exec();

    // A trace pipe whose reader has stalled holds the worker only a little longer.
    if (trace != nullptr)
        trace->stopWaitingAfter(quitPatience);
    // The worker stops, then its thread ends. A worker held by a recording pipe whose reader
    // has stopped never returns: the program then ends without it, saying so.
    QMetaObject::invokeMethod(worker.get(), &StudioWorker::stop, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        worker.get(), [] { QThread::currentThread()->quit(); }, Qt::QueuedConnection);
    // A frame at a slow pace cannot be cut short; without a recording or trace file nothing is
    // lost by not waiting for it.
    const bool recording = !cameraOptions.recording.empty();
    const bool writing = recording || trace != nullptr;
    if (!thread.wait(QDeadlineTimer(writing ? stuckWorkerPatience : slowFramePatience))) {
        if (recording)
            std::cerr << "orvane-studio: the camera did not stop (a slow pace, or a recording "
                         "pipe whose reader has stopped?); ending without finishing the "
                         "recording\n";
        else
            std::cerr << "orvane-studio: ending while the camera still reads a frame (a slow "
                         "pace?)\n";
        // No stream is flushed: the held one is locked by the write that waits.
        std::_Exit(startFailureStatus);
    }
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const quint64 frames = worker->framesCaptured();
    const bool limited = worker->camera().recordingState() == orvane::RecordingState::LimitReached;
    const orvane::Status recorded = worker->camera().finishRecording();
    worker.reset();
    const bool traced = trace == nullptr || trace->close();
    if (limited)
        std::cerr << orvane::recordingLimitMessage(cameraOptions.recording) << '\n';
    if (!recorded)
        std::cerr << "orvane: ORVANE_VCD=" << recorded.message() << '\n';
    if (!traced)
        std::cerr << "orvane-studio: the trace file " << *options.traceFile
                  << " could not be written completely (disk full, or its reader stopped?)\n";
    if (!recorded || !traced)
        return status == 0 ? startFailureStatus : status;
    if (status == 0) {
        std::fprintf(stderr, "orvane-studio: %llu frames in %.1f s, %.1f fps\n",
                     static_cast<unsigned long long>(frames), seconds,
                     seconds > 0 ? double(frames) / seconds : 0.0);
    }
    return status;
}
