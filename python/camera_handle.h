// The Camera behind a Python orvane.Camera and the views made from it. One thread drives it at a
// time; every call into it is made with the GIL released, so other Python threads run meanwhile.
#pragma once

#include <orvane/camera.h>

#include <pybind11/pybind11.h>

#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>

#include "errors.h"

namespace orvane::python {

class CameraHandle {
public:
    // Opens device (any ORVANE_PORT name); raises the status's exception when it cannot.
    CameraHandle(const std::string& device, const std::string& scene, const std::string& pace,
                 bool configure);

    // Closes the port, after a call in progress in another thread. Later calls raise ClosedError.
    void close();
    bool closed() const;
    const std::string& device() const { return device_; }
    // The backend as the programs print it on start, kept for after close().
    const std::string& description() const { return description_; }

    // Runs call(camera) without the GIL and with the camera to itself; raises ClosedError after
    // close(). call must not touch Python objects.
    template <typename Call> auto run(Call&& call) {
        using Result = std::invoke_result_t<Call, Camera&>;
        bool open = false;
        if constexpr (std::is_void_v<Result>) {
            {
                py::gil_scoped_release release;
                std::lock_guard lock(mutex_);
                if ((open = camera_ != nullptr))
                    call(*camera_);
            }
            if (!open)
                raiseClosed();
        } else {
            Result result{};
            {
                py::gil_scoped_release release;
                std::lock_guard lock(mutex_);
                if ((open = camera_ != nullptr))
                    result = call(*camera_);
            }
            if (!open)
                raiseClosed();
            return result;
        }
    }

private:
    std::string device_;
    std::string description_;
    mutable std::mutex mutex_;
    std::unique_ptr<Camera> camera_;
};

} // namespace orvane::python
