// The worker and the window, connected.
#include "studio_link.h"

#include <QSocketNotifier>

#include "studio_window.h"
#include "studio_worker.h"

namespace orvane {

void linkStudio(StudioWorker& worker, StudioWindow& window) {
    QObject::connect(worker.mailbox().watch(&window), &QSocketNotifier::activated, &window,
                     [&worker, &window] { window.takeFrame(worker.mailbox()); });
    QObject::connect(&worker, &StudioWorker::controlsChanged, &window, &StudioWindow::showControls);
    QObject::connect(&worker, &StudioWorker::statusMessage, &window, &StudioWindow::showStatus);
    QObject::connect(&worker, &StudioWorker::registersChanged, &window,
                     &StudioWindow::showRegisters);
    QObject::connect(&window, &StudioWindow::settingsRequested, &worker,
                     &StudioWorker::applySettings);
    QObject::connect(&window, &StudioWindow::resetRequested, &worker, &StudioWorker::reset);
    QObject::connect(&window, &StudioWindow::registerWriteRequested, &worker,
                     &StudioWorker::writeRegister);
    QObject::connect(&window, &StudioWindow::runningChanged, &worker, &StudioWorker::setRunning);
    QObject::connect(&window, &StudioWindow::deviceRequested, &worker, &StudioWorker::reopen);
}

} // namespace orvane
