// QuitSignals: SIGINT and SIGTERM end the studio as Ctrl+Q does, so an interrupted run still
// stops the worker cleanly and prints its frame figures. The signals are taken through a
// signalfd watched by the event loop, not by a handler.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace orvane {

class QuitSignals final : public QObject {
    Q_OBJECT
public:
    // Blocks SIGINT and SIGTERM in the calling thread and every thread it starts later; call it
    // first in main, before any thread exists (the toolkit starts some of its own).
    static bool block();

    // Watches the blocked signals; needs the application object.
    QuitSignals();
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    int descriptor_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace orvane
