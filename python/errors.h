// The module's exceptions: orvane.Error and one subclass for each way a call can fail, each also
// the built-in exception Python programs already catch for that kind (KeyError, ValueError, ...).
#pragma once

#include <orvane/controls.h>
#include <orvane/status.h>

#include <pybind11/pybind11.h>

#include <span>
#include <string>

namespace orvane::python {

namespace py = pybind11;

// Adds the exception classes to module.
void addErrors(py::module_& module);

// Raises the exception for a failed status; returns for success. settings are what was asked, so
// that an out-of-range error can carry its control and range; shown are the values as the caller
// wrote them, in the same order, where they differ from the numbers sent (a huge int, say).
void raiseIfFailed(const Status& status, std::span<const ControlSetting> settings = {},
                   std::span<const std::string> shown = {});

// Raises orvane.ClosedError: the camera was closed before the call.
[[noreturn]] void raiseClosed();

} // namespace orvane::python
