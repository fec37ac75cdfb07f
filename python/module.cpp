// The orvane module: the camera module as a Python object, its controls by name and its frames
// as numpy arrays.
#include <orvane/camera.h>

#include <pybind11/pybind11.h>

#include "errors.h"
#include "views.h"

PYBIND11_MODULE(orvane, module) {
    namespace py = pybind11;
    module.doc() = R"(The OV7610 camera module on the parallel port, or the simulated one.

    import orvane
    with orvane.Camera("sim") as cam:
        cam.set(brightness=140, contrast=30)
        frame = cam.capture()          # numpy uint8 array, (height, width, 3), RGB

Errors are orvane.Error and its subclasses; each is also the built-in exception of its kind
(OutOfRangeError is a ValueError, UnknownControlError a KeyError, PortError an OSError).)";
    orvane::python::addErrors(module);
    orvane::python::bindViews(module);
    orvane::python::bindCamera(module);
    module.attr("__version__") = orvane::version();
}
