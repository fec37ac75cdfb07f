// Starting the viewer: the hand-over to a running viewer, or the window and its request handling.
#include "monitor_session.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

#include "monitor_window.h"

namespace orvane {

namespace {

constexpr QLatin1String openVerb("open ");

} // namespace

QString openRequest(const QString& filePath) {
    return openVerb + QFileInfo(filePath).absoluteFilePath();
}

std::optional<QString> requestedFile(const QString& request) {
    if (!request.startsWith(openVerb) || request.size() == openVerb.size()) {
        return std::nullopt;
    }
    return request.mid(openVerb.size());
}

MonitorSession::MonitorSession(const QString& serverName, const QString& filePath)
    : filePath_(QFileInfo(filePath).absoluteFilePath()), instance_(serverName) {}

MonitorSession::~MonitorSession() = default;

MonitorSession::Outcome MonitorSession::start() {
    const SingleInstance::Role role = instance_.start(openRequest(filePath_));
    if (role == SingleInstance::Role::secondary) {
        return Outcome::handedOver;
    }
    if (role == SingleInstance::Role::alone && !instance_.serverName().isEmpty()) {
        std::fprintf(stderr,
                     "monitor: cannot listen as %s (%s); later uploads will open more windows\n",
                     qPrintable(instance_.serverName()), qPrintable(instance_.errorString()));
    }
    // The picture is read only now: a start that hands over never shows it.
    image_ = std::make_unique<WatchedImage>(filePath_);
    window_ = std::make_unique<MonitorWindow>(*image_);
    QObject::connect(&instance_, &SingleInstance::requestReceived, window_.get(),
                     [this](const QString& request) { openRequested(request); });
    window_->show();
    return Outcome::running;
}

// Each upload starts the viewer again; the running one shows the file it was started for, read
// afresh, in front of the panel.
void MonitorSession::openRequested(const QString& request) {
    const std::optional<QString> file = requestedFile(request);
    if (!file) {
        return;
    }
    image_->setFilePath(*file);
    window_->bringToFront();
}

int runMonitor(const QString& serverName, const QString& filePath) {
    MonitorSession session(serverName, filePath);
    if (session.start() == MonitorSession::Outcome::handedOver) {
        return 0;
    }
    return QApplication::exec();
}

} // namespace orvane
