// PanelApp: the program around the panel. It opens the port backend, builds the program-wide
// parts, initialises the dialog and runs it modally on whatever front end it is given.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>

#include "app/panel.h"
#include "port/port_factory.h"

namespace orvane {

class PanelApp {
public:
    // Opens the backend ORVANE_PORT names and says on the stream which one it uses, or why it
    // cannot. Call before any window exists: a failure ends the program before the panel opens.
    bool openPort(std::ostream& messages);

    // Initialises the dialog on the panel and runs it until it ends. Returns the process exit
    // status: 0 when the panel closed normally, 1 when the frame buffers could not be allocated.
    int run(Panel& panel, const std::function<int()>& runModal, std::ostream& messages);

    PortIo* port() { return opened_.port.get(); }

private:
    OpenedPort opened_;
};

// Standard output that is closed or broken must not stop the program.
void ignoreBrokenPipes();

} // namespace orvane
