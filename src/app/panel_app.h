// PanelApp: the program around the panel. It opens the port backend, builds the program-wide
// parts, initialises the dialog and runs it modally on whatever front end it is given.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string_view>

#include "camera/camera_port.h"
#include "toolkit/panel.h"

namespace orvane {

class ControlPanelDialog;
class ViewerLauncher;

// How the port is reached and whether its accesses are recorded.
struct PortSettings {
    std::optional<std::string_view> port;  // the backend (ORVANE_PORT)
    std::optional<std::string_view> scene; // the simulated module's picture (ORVANE_SCENE)
    std::optional<std::string_view> vcd;   // a file recording every access (ORVANE_VCD)
    // The most the recording may take: bytes, or with K, M or G (ORVANE_VCD_LIMIT)
    std::optional<std::string_view> vcdLimit = std::nullopt;
    // How long each access of the simulated module takes (ORVANE_SIM_PACE)
    std::optional<std::string_view> pace = std::nullopt;
};

// ORVANE_PORT, ORVANE_SCENE, ORVANE_VCD, ORVANE_VCD_LIMIT and ORVANE_SIM_PACE from the environment;
// unset stays nullopt.
PortSettings portSettingsFromEnvironment();

// The exit status of a program that could not start: no port, no recording file, no buffers.
constexpr int startFailureStatus = 1;

class PanelApp {
public:
    PanelApp();
    ~PanelApp();
    PanelApp(const PanelApp&) = delete;
    PanelApp& operator=(const PanelApp&) = delete;

    // Opens the backend the environment names and says on the stream which one it uses, or why
    // it cannot. With ORVANE_VCD set, every access of the run is also recorded in that file; a
    // file that cannot be created, or a size limit that is not one, is a failure too. Started with
    // sudo, the program gives up root for the invoking user as soon as the port is open, so the
    // recording, the files, the windows and the viewer all belong to that user. Call before any
    // window exists: a failure ends the program before the panel opens.
    bool openPort(std::ostream& messages);
    bool openPort(const PortSettings& settings, std::ostream& messages);

    // Initialises the dialog on the panel and runs it until it ends. Returns the process exit
    // status: 0 when the panel closed normally, startFailureStatus when the frame buffers could
    // not be allocated. The viewer is "monitor.exe", started after each upload.
    int run(Panel& panel, const std::function<int()>& runModal, std::ostream& messages);

    // The same with the viewer given and the work of the run handed to session, which gets the
    // initialised dialog and returns the exit status. The recording, if any, is finished when
    // the dialog has gone; a recording that cannot be completed is reported and turns a status
    // of 0 into startFailureStatus.
    int runSession(Panel& panel, ViewerLauncher& viewer,
                   const std::function<int(ControlPanelDialog&)>& session, std::ostream& messages);

    // The port the dialog drives: the recorder when recording, the backend otherwise.
    PortIo* port();

private:
    bool finishRecording(std::ostream& messages);

    CameraPort port_;
};

// Standard output that is closed or broken must not stop the program.
void ignoreBrokenPipes();

} // namespace orvane
