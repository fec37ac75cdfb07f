// The module's exception classes and the Status of a failed call raised as one of them.
#include "errors.h"

#include <array>
#include <optional>
#include <string_view>

namespace orvane::python {
namespace {

struct ErrorClass {
    const char* name;
    std::optional<StatusCode> code; // the status it stands for; none for the module's own
    const char* builtin;            // the built-in exception it also is, or null
    const char* doc;
};

// Every class derives from Error; Error's own row comes first.
const std::array<ErrorClass, 12> errorClasses{{
    {"Error", std::nullopt, nullptr,
     "Base class of every error the camera reports. `code` names the kind (\"out of range\", "
     "\"port error\", ...); str() is the text an operator reads."},
    {"PortError", StatusCode::PortError, "OSError",
     "The port cannot be opened; the message says what to do."},
    {"NotPermittedError", StatusCode::NotPermitted, "PermissionError",
     "Root cannot be given up, or the system refuses what was asked."},
    {"UnknownControlError", StatusCode::UnknownControl, "KeyError",
     "No control has that name; the message lists the controls."},
    {"OutOfRangeError", StatusCode::OutOfRange, "ValueError",
     "A value outside its control's range. `control`, `minimum` and `maximum` (or `choices`) "
     "tell what it takes."},
    {"RefusedError", StatusCode::Refused, "ValueError",
     "The camera's rules refuse the change (a window that does not fit, say); nothing changed."},
    {"InvalidArgumentError", StatusCode::InvalidArgument, "ValueError",
     "A register number or value outside 0 to 255, or a layout the mode lacks."},
    {"DoesNotFitError", StatusCode::DoesNotFit, "ValueError",
     "The frame does not fit the frame buffers or the array given for it; nothing was sent."},
    {"NoMemoryError", StatusCode::NoMemory, "MemoryError",
     "The frame buffers cannot be allocated."},
    {"FileError", StatusCode::FileError, "OSError",
     "A file cannot be created or written; the message names it and says why."},
    {"NoSignalError", StatusCode::NoSignal, "OSError",
     "The frame read is no picture (every byte one value, or its end all 0xFF); the message says "
     "what was seen and what to check. The frame was still read."},
    {"ClosedError", std::nullopt, "ValueError", "The camera has been closed."},
}};

const ErrorClass& classFor(StatusCode code) {
    for (const ErrorClass& error : errorClasses) {
        if (error.code == code)
            return error;
    }
    return errorClasses.front();
}

// The exception object of class className with message and its code.
py::object makeError(const char* className, const std::string& message, std::string_view code) {
    py::object error = py::module_::import("orvane").attr(className)(message);
    error.attr("code") = py::str(code.data(), code.size());
    return error;
}

[[noreturn]] void raise(const py::object& error) {
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
    throw py::error_already_set();
}

// The range attributes of an out-of-range error: the setting whose control the message names.
void addRange(py::object& error, std::string message, std::span<const ControlSetting> settings,
              std::span<const std::string> shown) {
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const ControlInfo* info = findControl(settings[i].name);
        if (info == nullptr || message.find(std::string(info->name) + " takes ") == message.npos)
            continue;
        error.attr("control") = std::string(info->name);
        error.attr("minimum") = info->minimum;
        error.attr("maximum") = info->maximum;
        py::dict choices;
        for (const ControlChoice& choice : info->choices) {
            if (choice.selectable)
                choices[py::str(std::string(choice.name))] = choice.value;
        }
        error.attr("choices") = choices;
        // The camera names the number it was given; the caller's own text reads better.
        const std::string sent = std::to_string(settings[i].value);
        if (i < shown.size() && shown[i] != sent && message.starts_with(sent)) {
            message.replace(0, sent.size(), shown[i]);
            error.attr("args") = py::make_tuple(message);
        }
        return;
    }
}

} // namespace

void addErrors(py::module_& module) {
    py::module_ builtins = py::module_::import("builtins");
    py::object base;
    for (const ErrorClass& error : errorClasses) {
        py::list bases;
        bases.append(base ? base : builtins.attr("Exception"));
        if (error.builtin != nullptr)
            bases.append(builtins.attr(error.builtin));
        py::dict members;
        // KeyError quotes its message; every error here reads as plain text.
        members["__str__"] = builtins.attr("BaseException").attr("__str__");
        members["__module__"] = "orvane";
        const std::string qualified = std::string("orvane.") + error.name;
        py::object type = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
            qualified.c_str(), error.doc, py::tuple(bases).ptr(), members.ptr()));
        if (!type)
            throw py::error_already_set();
        module.attr(error.name) = type;
        if (!base)
            base = type;
    }
}

void raiseIfFailed(const Status& status, std::span<const ControlSetting> settings,
                   std::span<const std::string> shown) {
    if (status.ok())
        return;
    const ErrorClass& type = classFor(status.code());
    py::object error = makeError(type.name, status.message(), statusCodeName(status.code()));
    if (status.code() == StatusCode::OutOfRange)
        addRange(error, status.message(), settings, shown);
    raise(error);
}

void raiseClosed() {
    raise(makeError("ClosedError", "the camera is closed", "closed"));
}

} // namespace orvane::python
