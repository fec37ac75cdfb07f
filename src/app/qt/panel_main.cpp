// orvane-panel: the control panel program. It takes no arguments: the port backend comes from
// ORVANE_PORT, and it works in the current directory.
#include <QApplication>

#include <iostream>

#include "app/panel_app.h"
#include "app/qt/qt_panel.h"

int main(int argc, char** argv) {
    orvane::ignoreBrokenPipes();
    orvane::PanelApp app;
    // The port comes first: a backend that cannot be opened ends the program before any window.
    if (!app.openPort(std::cerr))
        return orvane::startFailureStatus;
    QApplication application(argc, argv);
    QApplication::setApplicationName("Orvane");
    orvane::QtPanel panel;
    return app.run(
        panel, [&panel] { return panel.runModal(); }, std::cerr);
}
