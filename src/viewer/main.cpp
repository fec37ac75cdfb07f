// monitor.exe: shows "testfile.bmp" from the working directory; one window per user.
#include <QApplication>

#include "viewer/monitor_session.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("monitor"));
    return orvane::runMonitor(orvane::monitorServerName(),
                              QString::fromLatin1(orvane::monitorFileName));
}
