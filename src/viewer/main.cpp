// monitor.exe: shows "testfile.bmp" from the working directory; one window per user, display and
// working directory.
#include <QApplication>

#include <cstdio>
#include <string_view>

#include <orvane/camera.h>

#include "monitor_channel.h"
#include "monitor_session.h"

namespace {

constexpr std::string_view help =
    "Usage: monitor.exe [--help | --version]\n"
    "Shows testfile.bmp from the working directory at 1:1 or fitted to the window and reloads\n"
    "it when it changes. One viewer runs per user, display and working directory: a later start\n"
    "there makes the running one show the picture again.\n"
    "Keys: F fit to window or 1:1, Ctrl+0 actual size, F5 reload, Ctrl+Q quit.\n";

} // namespace

int main(int argc, char** argv) {
    // --version and --help alone are answered before any window, so no display is needed.
    if (argc == 2 &&
        (std::string_view(argv[1]) == "--version" || std::string_view(argv[1]) == "--help")) {
        if (std::string_view(argv[1]) == "--version")
            std::printf("monitor.exe %s\n", orvane::version());
        else
            std::fwrite(help.data(), 1, help.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("monitor"));
    const orvane::ChannelPlace channel = orvane::monitorChannel();
    if (!channel.error.isEmpty()) {
        std::fprintf(stderr,
                     "monitor: no private channel (%s); later uploads will open more "
                     "windows\n",
                     qPrintable(channel.error));
    }
    return orvane::runMonitor(channel.path, QString::fromLatin1(orvane::monitorFileName));
}
