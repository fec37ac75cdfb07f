// The module's views: orvane.Control, Controls, Register and Registers over the camera's lists.
#include <orvane/camera.h>

#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "control_values.h"
#include "views.h"

namespace orvane::python {
namespace {

const char* kindName(ControlType type) {
    switch (type) {
    case ControlType::Integer:
        return "integer";
    case ControlType::Boolean:
        return "boolean";
    case ControlType::Menu:
        return "menu";
    }
    return "integer";
}

int32_t controlValue(const ControlView& control) {
    int32_t value = 0;
    raiseIfFailed(
        control.camera->run([&](Camera& camera) { return camera.get(control.info->name, value); }));
    return value;
}

ControlView findControlView(const ControlsView& controls, const std::string& name) {
    const ControlInfo* info = findControl(controlName(name));
    if (info == nullptr) // the library's message lists every control
        raiseIfFailed(controls.camera->run([&](Camera& camera) {
            int32_t unused = 0;
            return camera.get(controlName(name), unused);
        }));
    return {controls.camera, info};
}

// A register's number for a number or a managed register's name; -1 for an unknown name when
// unknownIsError is false.
int registerAddress(const RegistersView& view, const py::handle& key, bool unknownIsError = true) {
    if (!py::isinstance<py::str>(key)) {
        if (unknownIsError)
            return registerNumber(key);
        try {
            return registerNumber(key);
        } catch (const py::builtin_exception&) {
            return -1;
        }
    }
    const std::string name = controlName(key.cast<std::string>());
    const auto registers = view.camera->run([](Camera& camera) { return camera.registers(); });
    for (const RegisterState& state : registers) {
        if (state.name == name)
            return state.address;
    }
    if (unknownIsError)
        raiseIfFailed(
            {StatusCode::InvalidArgument, "no managed register is named \"" + name + "\""});
    return -1;
}

} // namespace

void bindViews(py::module_& module) {
    py::class_<ControlView>(module, "Control",
                            "One control of the control table and its value in force.")
        .def_property_readonly("name",
                               [](const ControlView& c) { return std::string(c.info->name); })
        .def_property_readonly(
            "kind", [](const ControlView& c) { return kindName(c.info->type); },
            "\"integer\", \"boolean\" or \"menu\".")
        .def_property_readonly("minimum", [](const ControlView& c) { return c.info->minimum; })
        .def_property_readonly("maximum", [](const ControlView& c) { return c.info->maximum; })
        .def_property_readonly("default", [](const ControlView& c) { return c.info->defaultValue; })
        .def_property_readonly(
            "description", [](const ControlView& c) { return std::string(c.info->description); })
        .def_property_readonly("group",
                               [](const ControlView& c) { return std::string(c.info->group); })
        .def_property_readonly(
            "display",
            [](const ControlView& c) {
                constexpr const char* names[] = {"slider", "number", "choices"};
                return std::string(names[static_cast<int>(c.info->display)]);
            },
            "How a front end shows it: \"slider\", \"number\" (typed in) or \"choices\".")
        .def_property_readonly(
            "choices",
            [](const ControlView& c) {
                py::dict choices;
                for (const ControlChoice& choice : c.info->choices) {
                    if (choice.selectable)
                        choices[py::str(std::string(choice.name))] = choice.value;
                }
                return choices;
            },
            "The values a boolean or menu control may be set to, by name; empty for an integer.")
        .def_property_readonly(
            "registers",
            [](const ControlView& c) {
                std::vector<std::pair<int, int>> registers;
                for (const ControlRegister& r : c.info->registers)
                    registers.emplace_back(r.address, r.mask);
                return registers;
            },
            "The (register, bit mask) pairs the control drives.")
        .def_property(
            "value", &controlValue,
            [](ControlView& c, const py::handle& value) {
                RequestedSettings requested;
                requested.add(c.info->name, value);
                const auto& settings = requested.settings();
                raiseIfFailed(c.camera->run([&](Camera& camera) { return camera.set(settings); }),
                              settings, requested.shown());
            },
            "The value in force; setting it sends what changed.")
        .def("__repr__", [](const ControlView& c) {
            return "<orvane.Control " + std::string(c.info->name) + " (" + kindName(c.info->type) +
                   ", " + std::to_string(c.info->minimum) + " to " +
                   std::to_string(c.info->maximum) + ", default " +
                   std::to_string(c.info->defaultValue) + ")>";
        });

    py::class_<ControlsView>(module, "Controls",
                             "The camera's controls in the order several are applied; index by "
                             "name (\"blue-bias\" or \"blue_bias\") or position.")
        .def("__len__", [](const ControlsView&) { return controlList().size(); })
        .def("__getitem__", &findControlView)
        .def("__getitem__",
             [](const ControlsView& controls, long index) {
                 const long size = long(controlList().size());
                 if (index < -size || index >= size)
                     throw py::index_error("control index out of range");
                 return ControlView{controls.camera, &controlList()[(index + size) % size]};
             })
        .def("__contains__",
             [](const ControlsView&, const std::string& name) {
                 return findControl(controlName(name)) != nullptr;
             })
        .def("__iter__",
             [](const ControlsView& controls) {
                 py::list all;
                 for (const ControlInfo& info : controlList())
                     all.append(ControlView{controls.camera, &info});
                 return py::iter(all);
             })
        .def(
            "names",
            [](const ControlsView&) {
                std::vector<std::string> names;
                for (const ControlInfo& info : controlList())
                    names.emplace_back(info.name);
                return names;
            },
            "Every control's name, in order.")
        .def(
            "values",
            [](const ControlsView& controls) {
                py::dict values;
                for (const ControlInfo& info : controlList())
                    values[py::str(std::string(info.name))] =
                        controlValue({controls.camera, &info});
                return values;
            },
            "Every control's value in force, by name.")
        .def("__repr__", [](const ControlsView&) {
            return "<orvane.Controls: " + std::to_string(controlList().size()) + " controls>";
        });

    py::class_<RegisterState>(module, "Register",
                              "A managed sensor register as the camera keeps it: what it sent, or "
                              "will send (the bus is write-only).")
        .def_readonly("address", &RegisterState::address)
        .def_property_readonly("name", [](const RegisterState& r) { return std::string(r.name); })
        .def_property_readonly("meaning",
                               [](const RegisterState& r) { return std::string(r.meaning); })
        .def_readonly("value", &RegisterState::value)
        .def_readonly("default", &RegisterState::defaultValue)
        .def_readonly("pending", &RegisterState::pending, "Changed here, not yet sent.")
        .def("__repr__", [](const RegisterState& r) {
            char text[96];
            std::snprintf(text, sizeof text, "<orvane.Register 0x%02X %.*s = 0x%02X%s>", r.address,
                          int(r.name.size()), r.name.data(), r.value,
                          r.pending ? " (pending)" : "");
            return std::string(text);
        });

    py::class_<RegistersView>(module, "Registers",
                              "The managed registers in the order they are sent. Index by number "
                              "(0x06) or name (\"brightness\") to read one; assign to write one.")
        .def("__len__",
             [](const RegistersView& view) {
                 return view.camera->run([](Camera& camera) { return camera.registers(); }).size();
             })
        .def("__iter__",
             [](const RegistersView& view) {
                 return py::iter(
                     py::cast(view.camera->run([](Camera& camera) { return camera.registers(); })));
             })
        .def("__getitem__",
             [](const RegistersView& view, const py::handle& key) {
                 const int address = registerAddress(view, key);
                 uint8_t value = 0;
                 raiseIfFailed(view.camera->run(
                     [&](Camera& camera) { return camera.readRegister(address, value); }));
                 return int(value);
             })
        .def("__setitem__",
             [](const RegistersView& view, const py::handle& key, const py::handle& given) {
                 const int address = registerAddress(view, key);
                 const int value = registerValue(given);
                 raiseIfFailed(view.camera->run(
                     [&](Camera& camera) { return camera.writeRegister(address, value); }));
             })
        .def("__contains__",
             [](const RegistersView& view, const py::handle& key) {
                 const int address = registerAddress(view, key, false);
                 uint8_t value = 0;
                 return view.camera->run(
                     [&](Camera& camera) { return camera.readRegister(address, value).ok(); });
             })
        .def("__repr__", [](const RegistersView& view) {
            return "<orvane.Registers: " +
                   std::to_string(
                       view.camera->run([](Camera& c) { return c.registers(); }).size()) +
                   " managed registers>";
        });
}

} // namespace orvane::python
