// Control names and values from Python's spellings to the library's settings.
#include "control_values.h"

#include <algorithm>
#include <limits>

#include "errors.h"

namespace orvane::python {
namespace {

int32_t saturated(long long value) {
    return int32_t(std::clamp<long long>(value, std::numeric_limits<int32_t>::min(),
                                         std::numeric_limits<int32_t>::max()));
}

// A byte from 0 to 255, else the error raise gives, with the caller's number in it.
int byteFrom(const py::handle& number, const char* what, void (*raise)(const std::string&)) {
    py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(number.ptr()));
    if (!index) {
        PyErr_Clear();
        throw py::type_error(std::string("a register ") + what + " is a whole number, not " +
                             Py_TYPE(number.ptr())->tp_name);
    }
    int overflow = 0;
    const long long whole = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (overflow == 0 && whole >= 0 && whole <= 255)
        return int(whole);
    raise(std::string("register ") + what + " " + py::str(index).cast<std::string>() +
          " is outside 0 to 255");
    return -1;
}

} // namespace

int registerNumber(const py::handle& number) {
    return byteFrom(number, "number", [](const std::string& text) { throw py::index_error(text); });
}

int registerValue(const py::handle& value) {
    return byteFrom(value, "value", [](const std::string& text) {
        raiseIfFailed({StatusCode::InvalidArgument, text});
    });
}

std::string controlName(std::string_view pythonName) {
    if (pythonName.find('\0') != std::string_view::npos)
        throw py::value_error("a control's name holds a NUL character");
    std::string name(pythonName);
    std::replace(name.begin(), name.end(), '_', '-');
    return name;
}

void RequestedSettings::add(std::string_view pythonName, const py::handle& value) {
    const std::string name = controlName(pythonName);
    const ControlInfo* info = findControl(name);
    int32_t number = 0;
    std::string shown = py::str(value).cast<std::string>();
    if (py::isinstance<py::str>(value)) {
        if (info != nullptr && info->choices.empty())
            throw py::type_error(name + " takes a whole number, not " +
                                 py::repr(value).cast<std::string>());
        const ControlChoice* choice =
            info != nullptr ? findChoice(*info, value.cast<std::string>()) : nullptr;
        // A name that is no choice goes on as a number that is none either, so the camera's
        // refusal lists the choices; its message then shows the name as written.
        number = choice != nullptr ? choice->value : std::numeric_limits<int32_t>::min();
        shown = choice != nullptr ? std::to_string(number) : py::repr(value).cast<std::string>();
    } else {
        if (PyBool_Check(value.ptr()) && info != nullptr && info->type == ControlType::Integer)
            throw py::type_error(name + " takes a whole number, not " +
                                 py::repr(value).cast<std::string>());
        py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
        if (!index) {
            PyErr_Clear();
            throw py::type_error(name + " takes a whole number or the name of a choice, not " +
                                 std::string(Py_TYPE(value.ptr())->tp_name));
        }
        int overflow = 0;
        const long long whole = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
        number = overflow != 0 ? (overflow > 0 ? std::numeric_limits<int32_t>::max()
                                               : std::numeric_limits<int32_t>::min())
                               : saturated(whole);
    }
    names_.push_back(name);
    values_.push_back(number);
    shown_.push_back(shown);
    settings_.clear();
}

void RequestedSettings::addAll(const py::handle& mapping) {
    if (!py::isinstance<py::dict>(mapping) && !py::hasattr(mapping, "items"))
        throw py::type_error("settings are a mapping of control names to values");
    for (const py::handle item : mapping.attr("items")()) {
        if (!py::isinstance<py::tuple>(item) || py::len(item) != 2)
            throw py::type_error("settings' items() must give (name, value) pairs, not " +
                                 py::repr(item).cast<std::string>());
        const py::tuple pair = py::reinterpret_borrow<py::tuple>(item);
        if (!py::isinstance<py::str>(pair[0]))
            throw py::type_error("a control's name is a string, not " +
                                 py::repr(pair[0]).cast<std::string>());
        add(pair[0].cast<std::string>(), pair[1]);
    }
}

const std::vector<ControlSetting>& RequestedSettings::settings() {
    if (settings_.size() != names_.size()) {
        settings_.clear();
        for (std::size_t i = 0; i < names_.size(); ++i)
            settings_.push_back({names_[i], values_[i]});
    }
    return settings_;
}

} // namespace orvane::python
