// orvane.Camera in Python: opening, controls, registers, capture into numpy arrays, and closing.
#include <orvane/camera.h>
#include <orvane/dng.h>
#include <orvane/profile.h>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "control_values.h"
#include "views.h"

namespace orvane::python {
namespace {

using Frame = py::array_t<uint8_t>;
using Handle = std::shared_ptr<CameraHandle>;

std::vector<py::ssize_t> frameShape(PixelFormat format, const FrameLayout& layout) {
    if (format == PixelFormat::Raw)
        return {py::ssize_t(layout.height), py::ssize_t(layout.width)};
    return {py::ssize_t(layout.height), py::ssize_t(layout.width), 3};
}

std::string shapeText(const std::vector<py::ssize_t>& shape) {
    std::string text;
    for (py::ssize_t extent : shape)
        text += (text.empty() ? "(" : ", ") + std::to_string(extent);
    return text + (shape.size() == 1 ? ",)" : ")");
}

// The caller's array for a frame of shape: uint8, writeable, pixels packed within a row (rows
// may be any distance apart, so a view into a larger picture works).
Frame checkedOut(const py::object& out, const std::vector<py::ssize_t>& shape) {
    if (!py::isinstance<Frame>(out))
        throw py::type_error("out must be a numpy array of dtype uint8");
    Frame frame = py::reinterpret_borrow<Frame>(out);
    std::vector<py::ssize_t> given(frame.shape(), frame.shape() + frame.ndim());
    const bool packed = frame.ndim() == py::ssize_t(shape.size()) &&
                        frame.strides(frame.ndim() - 1) == 1 &&
                        (shape.size() == 2 || frame.strides(1) == 3) && frame.strides(0) > 0;
    if (given != shape)
        raiseIfFailed({StatusCode::DoesNotFit, "out has shape " + shapeText(given) +
                                                   "; the frame needs " + shapeText(shape)});
    if (!packed)
        raiseIfFailed({StatusCode::DoesNotFit,
                       "out's bytes are not side by side within its rows (strides " +
                           shapeText(std::vector<py::ssize_t>(frame.strides(),
                                                              frame.strides() + frame.ndim())) +
                           "); give a C-contiguous array, or a view of whole rows of one"});
    if (!frame.writeable())
        throw py::value_error("out is read-only");
    return frame;
}

py::object capture(const Handle& camera, bool raw, const py::object& out, bool withInfo) {
    const PixelFormat format = raw ? PixelFormat::Raw : PixelFormat::Rgb24;
    // Another thread may change the size between the two calls; a new array then follows it.
    for (int attempt = 0;; ++attempt) {
        FrameLayout layout;
        raiseIfFailed(camera->run([&](Camera& c) { return c.layout(format, layout); }));
        if (layout.width == 0 || layout.height == 0)
            raiseIfFailed({StatusCode::DoesNotFit, "the window gives an empty frame"});
        const std::vector<py::ssize_t> shape = frameShape(format, layout);
        Frame frame = out.is_none() ? Frame(shape) : checkedOut(out, shape);
        uint8_t* memory = frame.mutable_data();
        const std::size_t stride = std::size_t(frame.strides(0));
        const std::size_t size = stride * (layout.height - 1) + layout.rowBytes;
        bool resized = false;
        FrameInfo info;
        const Status status = camera->run([&](Camera& c) {
            FrameLayout now;
            Status s = c.layout(format, now);
            if (s && (now.width != layout.width || now.height != layout.height)) {
                resized = true;
                return Status();
            }
            return s ? c.capture(format, {memory, size}, stride, &info) : s;
        });
        if (resized && out.is_none() && attempt < 3)
            continue;
        if (resized)
            raiseIfFailed({StatusCode::DoesNotFit, "the frame's size changed during the call"});
        raiseIfFailed(status);
        py::object result = out.is_none() ? py::object(frame) : out;
        return withInfo ? py::make_tuple(result, info) : result;
    }
}

// One frame in the rgb format's colour mosaic, written as a DNG with the control values as its
// description; the mosaic it wrote.
Frame writeDngStill(const Handle& camera, const std::filesystem::path& path) {
    std::vector<uint8_t> cells;
    FrameLayout layout;
    raiseIfFailed(camera->run([&](Camera& c) {
        Status s = c.layout(PixelFormat::Mosaic, layout);
        cells.resize(layout.bytes);
        if (s)
            s = c.capture(PixelFormat::Mosaic, cells);
        if (!s)
            return s;
        const auto time = std::chrono::system_clock::now();
        ControlValues values;
        for (const ControlInfo& control : c.controls()) {
            int32_t value = 0;
            c.get(control.name, value);
            values.push_back({control.name, value});
        }
        const std::string description = settingsProfile(values, "", version());
        return writeDng(path, {cells, layout.width, layout.height, 0, time, description});
    }));
    Frame mosaic({py::ssize_t(layout.height), py::ssize_t(layout.width)});
    std::memcpy(mosaic.mutable_data(), cells.data(), cells.size());
    return mosaic;
}

void setControls(const Handle& camera, const py::object& settings, const py::kwargs& controls) {
    RequestedSettings requested;
    if (!settings.is_none())
        requested.addAll(settings);
    for (const auto& [name, value] : controls)
        requested.add(name.cast<std::string>(), value);
    const auto& all = requested.settings();
    raiseIfFailed(camera->run([&](Camera& c) { return c.set(all); }), all, requested.shown());
}

int32_t getControl(const Handle& camera, const std::string& name) {
    int32_t value = 0;
    raiseIfFailed(camera->run([&](Camera& c) { return c.get(controlName(name), value); }));
    return value;
}

} // namespace

void bindCamera(py::module_& module) {
    py::class_<FrameInfo>(module, "FrameInfo", "What one capture delivered.")
        .def_readonly("sequence", &FrameInfo::sequence, "1 for the camera's first frame.")
        .def_readonly("width", &FrameInfo::width)
        .def_readonly("height", &FrameInfo::height)
        .def_readonly("mosaic", &FrameInfo::mosaic,
                      "The sensor sent the rgb format's colour mosaic, not yuv.")
        .def_readonly("lines_read", &FrameInfo::linesRead)
        .def_readonly("bytes_per_line", &FrameInfo::bytesPerLine)
        .def_readonly("port_milliseconds", &FrameInfo::portMilliseconds,
                      "Register writes and the frame handshake.")
        .def_readonly("conversion_milliseconds", &FrameInfo::conversionMilliseconds)
        .def("__repr__", [](const FrameInfo& info) {
            return "<orvane.FrameInfo " + std::to_string(info.sequence) + ": " +
                   std::to_string(info.width) + " x " + std::to_string(info.height) + ">";
        });

    py::class_<CameraHandle, Handle>(module, "Camera",
                                     R"(The camera module on a parallel port, or the simulated one.

    Camera(device="sim", *, scene=None, pace="", configure=True)

device is what ORVANE_PORT takes: "sim" (or "") for the simulated module, "sim:PARAMETERS"
for it with parameters ("sim:scene=card,reference"), "ppdev" or
"ppdev:/dev/parportN" for the Linux parallel-port driver, "direct" for port instructions (as
root). scene is a PPM picture (P6) for the simulated module to show; pace makes it as slow
as real hardware, as ORVANE_SIM_PACE says it ("hardware": about 1 us a port access, 0.4 s a
frame; or microseconds an access). With configure the full register set is sent as the camera
opens. Raises PortError, with what to do, when the port cannot be opened.

Use it in a with statement, or call close(), to let the port go. One thread drives the camera
at a time; while it does, other Python threads run.)")
        .def(py::init([](const std::string& device, const py::object& scene,
                         const std::string& pace, bool configure) {
                 const std::string scenePath =
                     scene.is_none()
                         ? std::string()
                         : py::module_::import("os").attr("fsdecode")(scene).cast<std::string>();
                 return std::make_shared<CameraHandle>(device, scenePath, pace, configure);
             }),
             py::arg("device") = "sim", py::kw_only(), py::arg("scene") = py::none(),
             py::arg("pace") = "", py::arg("configure") = true)
        .def_property_readonly("device", &CameraHandle::device,
                               "The device name it was opened with.")
        .def_property_readonly("description", &CameraHandle::description,
                               "The port backend, as the programs print it on start.")
        .def_property_readonly("closed", &CameraHandle::closed)
        .def("close", &CameraHandle::close,
             "Lets the port go, after a call in progress in another thread. Later calls raise "
             "ClosedError; closing twice is harmless.")
        .def("__enter__", [](const Handle& camera) { return camera; })
        .def("__exit__", [](CameraHandle& camera, const py::args&) { camera.close(); })
        .def_property_readonly(
            "controls", [](const Handle& camera) { return ControlsView{camera}; },
            "The control table: each control's name, kind, range, default, description and value "
            "in force; iterate it or index it by name.")
        .def_property_readonly(
            "registers", [](const Handle& camera) { return RegistersView{camera}; },
            "The managed registers as the camera keeps them (the bus is write-only): read one by "
            "number or name, assign to write one.")
        .def("set", &setControls, py::arg("settings") = py::none(), py::pos_only(),
             R"(Sets several controls at once and sends what changed.

    cam.set(brightness=140, contrast=30)
    cam.set({"blue-bias": 10}, format="rgb", size="qcif")

Names may write '_' for '-'. Values are whole numbers, True/False, or a choice's name. Every
value is checked first, and a refused call changes nothing: UnknownControlError,
OutOfRangeError (with the range), RefusedError.)")
        .def("get", &getControl, py::arg("name"), "The value in force of the control named name.")
        .def("__getitem__", &getControl)
        .def("__setitem__",
             [](const Handle& camera, const std::string& name, const py::object& value) {
                 py::dict one;
                 one[py::str(name)] = value;
                 setControls(camera, one, py::kwargs());
             })
        .def(
            "reset",
            [](const Handle& camera) {
                raiseIfFailed(camera->run([](Camera& c) { return c.reset(); }));
            },
            "The sensor's soft reset, then every control back to its default and the default "
            "register set sent.")
        .def(
            "write_register",
            [](const Handle& camera, const py::handle& number, const py::handle& given) {
                const int address = registerNumber(number);
                const int value = registerValue(given);
                raiseIfFailed(
                    camera->run([&](Camera& c) { return c.writeRegister(address, value); }));
            },
            py::arg("number"), py::arg("value"),
            "Writes one register now, whatever it is (0 to 255 each), for bring-up. A managed "
            "register keeps the value; IndexError for a number and InvalidArgumentError for a "
            "value "
            "outside 0 to 255.")
        .def_property_readonly(
            "frame_shape",
            [](const Handle& camera) {
                FrameLayout layout;
                raiseIfFailed(
                    camera->run([&](Camera& c) { return c.layout(PixelFormat::Rgb24, layout); }));
                return py::tuple(py::cast(frameShape(PixelFormat::Rgb24, layout)));
            },
            "The (height, width, 3) of the next capture with the settings in force.")
        .def("capture", &capture, py::kw_only(), py::arg("raw") = false,
             py::arg("out") = py::none(), py::arg("info") = false,
             R"(Captures one frame.

Returns a numpy array of shape (height, width, 3), dtype uint8, RGB, top row first, filled by
the capture itself. With raw=True: the bytes as read from the port, (lines, bytes per line).
With out: that array is filled instead and returned (it may be a view with rows any distance
apart); DoesNotFitError when its shape is not the frame's or when the window's frame does not
fit the frame buffers. With info=True: (frame, FrameInfo), the frame's sequence number and
timings beside it.)")
        .def("write_dng", &writeDngStill, py::arg("path"),
             R"(Captures one frame in the rgb format's colour mosaic and writes it as a DNG 1.4 file
at path (the cells' pattern, black and white levels, the capture time and the control values
with it). Returns the mosaic it wrote, shape (height, width), dtype uint8. InvalidArgumentError
while the format is yuv; FileError when the file cannot be written.)")
        .def("__repr__", [](const CameraHandle& camera) {
            return "<orvane.Camera " + py::repr(py::str(camera.device())).cast<std::string>() +
                   (camera.closed() ? " (closed)>" : ": " + camera.description() + ">");
        });
}

} // namespace orvane::python
