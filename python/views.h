// The collections a Camera hands out: its controls and its registers. Each keeps the camera's
// handle, so it stays usable while the Camera object lives or it is closed (then ClosedError).
#pragma once

#include <orvane/controls.h>

#include <pybind11/pybind11.h>

#include <memory>

#include "camera_handle.h"

namespace orvane::python {

struct ControlsView {
    std::shared_ptr<CameraHandle> camera;
};

struct ControlView {
    std::shared_ptr<CameraHandle> camera;
    const ControlInfo* info;
};

struct RegistersView {
    std::shared_ptr<CameraHandle> camera;
};

// Adds Controls, Control, Registers and Register to module.
void bindViews(py::module_& module);
// Adds Camera to module.
void bindCamera(py::module_& module);

} // namespace orvane::python
