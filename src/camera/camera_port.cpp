// Opening a camera's port and its recording.
#include "camera/camera_port.h"

namespace orvane {

Status openCameraPort(const PortRequest& request, const PortBackends& backends,
                      const PortRecording& recording, CameraPort& port) {
    port = CameraPort{};
    OpenedPort opened = openPort(request, backends);
    if (!opened.port)
        return opened.status;
    if (Status recorded = recordCameraPort(*opened.port, recording, request.naming, port);
        !recorded)
        return recorded;
    port.opened = std::move(opened);
    return {};
}

Status recordCameraPort(PortIo& borrowed, const PortRecording& recording, SettingNaming naming,
                        CameraPort& port) {
    port = CameraPort{};
    if (!recording.path.empty()) {
        if (Status created = VcdRecorder::create(borrowed, recording.path, recording.limit, naming,
                                                 port.recorder);
            !created)
            return created;
    }
    port.driven = port.recorder ? static_cast<PortIo*>(port.recorder.get()) : &borrowed;
    return {};
}

} // namespace orvane
