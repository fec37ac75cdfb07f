// Quit signals through a signalfd.
#include "quit_signals.h"

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

namespace orvane {

namespace {

sigset_t quitSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

} // namespace

bool QuitSignals::block() {
    const sigset_t set = quitSet();
    return pthread_sigmask(SIG_BLOCK, &set, nullptr) == 0;
}

QuitSignals::QuitSignals() {
    const sigset_t set = quitSet();
    descriptor_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (descriptor_ < 0) {
        // Without the descriptor the signals end the program the usual way.
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(descriptor_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        signalfd_siginfo info;
        while (read(descriptor_, &info, sizeof info) == sizeof info) {
        }
        emit quitRequested();
    });
}

QuitSignals::~QuitSignals() {
    notifier_.reset();
    if (descriptor_ >= 0)
        close(descriptor_);
}

} // namespace orvane
