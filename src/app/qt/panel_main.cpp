// orvane-panel: the control panel program. It takes no arguments but --help and --version: the
// port backend comes from ORVANE_PORT, and it works in the current directory.
#include <QApplication>

#include <iostream>

#include "app/installed_template.h"
#include "app/panel_app.h"
#include "app/qt/qt_panel.h"
#include "resources/program_info.h"

namespace {

constexpr std::string_view help =
    "Usage: orvane-panel [--help | --version]\n"
    "The control panel for the OV7610 camera module on the parallel port. It works in the\n"
    "current directory: bmphead24 there is the BMP header template (an installed panel\n"
    "copies in its own when the folder has none, and says so), and each upload writes\n"
    "test.raw and testfile.bmp there and shows the picture with monitor.exe.\n"
    "Environment:\n"
    "  ORVANE_PORT   sim (the simulated camera module, the default), ppdev (/dev/parport0),\n"
    "                ppdev:/dev/parportN, or direct (port instructions on x86, with sudo)\n"
    "  ORVANE_SCENE  a binary PPM the simulated module shows instead of its built-in scene\n"
    "  ORVANE_VCD    a file that records every port access of the run\n"
    "  ORVANE_VCD_LIMIT  the most that file may take (500M, say); the recording ends there\n"
    "  ORVANE_SIM_PACE   hardware: the simulated module as slow as a real port (1 us an\n"
    "                    access, 0.4 s a frame), or microseconds an access; off by default\n"
    "Standard output carries the bus trace. Started with sudo, the panel gives up root for\n"
    "the invoking user as soon as the port is open.\n"
    "Exit status: 0 when the panel closed, 1 when it could not start.\n";

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status =
            orvane::answerInfoOption(argc, argv, "orvane-panel", help))
        return *status;
    orvane::ignoreBrokenPipes();
    orvane::PanelApp app;
    // The port comes first: a backend that cannot be opened ends the program before any window,
    // and a sudo start has given up root by the time the first window exists.
    if (!app.openPort(std::cerr))
        return orvane::startFailureStatus;
    // An installed panel in a folder without the template works as orvane-cli does.
    orvane::provideBmpTemplateHere(std::cerr);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Orvane");
    orvane::QtPanel panel;
    return app.run(
        panel, [&panel] { return panel.runModal(); }, std::cerr);
}
