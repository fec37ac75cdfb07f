// The port a camera drives, opened the same way for liborvane's Camera and for the panel: the
// backend's port (or one the caller keeps) and, when asked for, the recording of every access.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "backend/port_factory.h"
#include "orvane/status.h"
#include "port/vcd_recorder.h"

namespace orvane {

struct PortRecording {
    std::filesystem::path path; // empty: no recording
    uint64_t limit = 0;         // bytes; 0: none
};

struct CameraPort {
    OpenedPort opened;                     // empty on a port the caller keeps
    std::unique_ptr<VcdRecorder> recorder; // null without a recording
    PortIo* driven = nullptr;              // the recorder when recording, else the port
};

// Opens the port request names, then its recording; the texts name the settings as
// request.naming says. Nothing is left open when it fails.
Status openCameraPort(const PortRequest& request, const PortBackends& backends,
                      const PortRecording& recording, CameraPort& port);

// The same on a port the caller keeps, which must outlive the camera.
Status recordCameraPort(PortIo& borrowed, const PortRecording& recording, SettingNaming naming,
                        CameraPort& port);

} // namespace orvane
