// orvane-studio: the live-view front end. Opens the port before any window, runs the dialog
// logic and the capture on a worker thread and the window on the main thread.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "app/panel_app.h"
#include "port/trace_sink.h"
#include "resources/build_version.h"
#include "studio/file_trace_sink.h"
#include "studio/quit_signals.h"
#include "studio/studio_options.h"
#include "studio/studio_window.h"
#include "studio/studio_worker.h"

namespace {

constexpr int usageStatus = 2;

} // namespace

int main(int argc, char** argv) {
    orvane::ignoreBrokenPipes();
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
        std::cout << "orvane-studio " << orvane::buildVersion << '\n';
        return 0;
    }

    orvane::PanelApp app;
    if (!app.openPort(std::cerr))
        return orvane::startFailureStatus;
    std::unique_ptr<orvane::TraceSink> trace = std::make_unique<orvane::CountingTraceSink>();
    if (options.traceFile) {
        trace = orvane::FileTraceSink::create(*options.traceFile);
        if (trace == nullptr) {
            std::cerr << "orvane-studio: cannot write the trace file " << *options.traceFile << ": "
                      << std::strerror(errno) << '\n';
            return orvane::startFailureStatus;
        }
    }

    QApplication application(argc, argv);
    orvane::QuitSignals quitSignals;
    QApplication::setOrganizationName(QStringLiteral("Orvane"));
    QApplication::setApplicationName(QStringLiteral("orvane-studio"));
    const QDir directory = QDir::current();

    QThread thread;
    auto worker =
        std::make_unique<orvane::StudioWorker>(*app.port(), *trace, directory.path().toStdString());
    worker->moveToThread(&thread);
    orvane::StudioWindow window(directory);
    using orvane::StudioWindow;
    using orvane::StudioWorker;
    QObject::connect(worker.get(), &StudioWorker::started, &window,
                     [&window](const orvane::ControlValues& values) {
                         window.showControls(values);
                         window.show();
                     });
    QObject::connect(worker.get(), &StudioWorker::startFailed, &application,
                     [](const QString& reason) {
                         std::cerr << "orvane-studio: " << reason.toStdString() << '\n';
                         QApplication::exit(orvane::startFailureStatus);
                     });
    QObject::connect(worker.get(), &StudioWorker::frameReady, &window, &StudioWindow::showFrame);
    QObject::connect(worker.get(), &StudioWorker::controlsChanged, &window,
                     &StudioWindow::showControls);
    QObject::connect(worker.get(), &StudioWorker::statusMessage, &window,
                     &StudioWindow::showStatus);
    QObject::connect(&window, &StudioWindow::commandsRequested, worker.get(),
                     &StudioWorker::applyCommands);
    QObject::connect(&window, &StudioWindow::runningChanged, worker.get(),
                     &StudioWorker::setRunning);
    QObject::connect(&window, &StudioWindow::frameShown, worker.get(), &StudioWorker::frameShown);
    QObject::connect(&window, &StudioWindow::quitRequested, &application, &QApplication::quit);
    QObject::connect(&quitSignals, &orvane::QuitSignals::quitRequested, &window, &QWidget::close);

    QElapsedTimer clock;
    clock.start();
    thread.start();
    QMetaObject::invokeMethod(worker.get(), &StudioWorker::start, Qt::QueuedConnection);
    const int status = QApplication::exec();

    QMetaObject::invokeMethod(worker.get(), &StudioWorker::stop, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    const quint64 frames = worker->framesCaptured();
    worker.reset();
    if (status == 0) {
        std::fprintf(stderr, "orvane-studio: %llu frames in %.1f s, %.1f fps\n",
                     static_cast<unsigned long long>(frames), seconds,
                     seconds > 0 ? double(frames) / seconds : 0.0);
    }
    return status;
}
