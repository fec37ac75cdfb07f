// The Camera handle shared by the module's objects, each call made with the GIL released.
#include "camera_handle.h"

namespace orvane::python {

CameraHandle::CameraHandle(const std::string& device, const std::string& scene,
                           const std::string& pace, bool configure)
    : device_(device) {
    CameraOptions options;
    options.scene = scene;
    options.simulatedPace = pace;
    options.configure = configure;
    Status status;
    {
        py::gil_scoped_release release;
        camera_ = Camera::open(device, status, options);
    }
    raiseIfFailed(status);
    description_ = camera_->description();
}

void CameraHandle::close() {
    std::unique_ptr<Camera> camera;
    py::gil_scoped_release release;
    {
        std::lock_guard lock(mutex_);
        camera = std::move(camera_);
    }
    // The port is let go here, outside the lock and without the GIL.
    camera.reset();
}

bool CameraHandle::closed() const {
    py::gil_scoped_release release;
    std::lock_guard lock(mutex_);
    return camera_ == nullptr;
}

} // namespace orvane::python
