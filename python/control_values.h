// Python's ways of naming controls and values, turned into the library's settings: blue_bias for
// blue-bias, a choice by its name ("qcif", "on"), True and False, numpy's integers.
#pragma once

#include <orvane/controls.h>

#include <pybind11/pybind11.h>

#include <string>
#include <string_view>
#include <vector>

namespace orvane::python {

namespace py = pybind11;

// The name as the control list spells it: a keyword argument writes '_' for '-'. ValueError for a
// name that holds a NUL character.
std::string controlName(std::string_view pythonName);

// A register's number or value (0 to 255) from a Python whole number: IndexError for a number and
// InvalidArgumentError (a ValueError) for a value outside that range, each naming the caller's own
// number; TypeError for what is not a whole number.
int registerNumber(const py::handle& number);
int registerValue(const py::handle& value);

// Settings made from Python names and values, with the storage their names point into.
class RequestedSettings {
public:
    // Adds one; raises TypeError for a value that is neither a whole number nor a choice's name,
    // and OutOfRangeError for a name that is not one of the control's choices.
    void add(std::string_view pythonName, const py::handle& value);
    // Every pair of a mapping, then every keyword.
    void addAll(const py::handle& mapping);

    const std::vector<ControlSetting>& settings();
    // The values as the caller wrote them, for messages.
    const std::vector<std::string>& shown() const { return shown_; }

private:
    std::vector<std::string> names_;
    std::vector<int32_t> values_;
    std::vector<std::string> shown_;
    std::vector<ControlSetting> settings_;
};

} // namespace orvane::python
