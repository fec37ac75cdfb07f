// Device-string parameters of the simulated module.
#include "sim/module_settings.h"

#include <array>
#include <charconv>
#include <cmath>

#include "port/setting_names.h"
#include "sim/test_charts.h"

namespace orvane {
namespace {

struct BuiltinScene {
    std::string_view name;
    std::unique_ptr<SceneSequence> (*make)();
};

constexpr std::array<BuiltinScene, 6> builtinScenes{{
    {"card", [] { return stillScene(builtinScene()); }},
    {"chart", [] { return stillScene(colourChartScene()); }},
    {"edge", [] { return stillScene(slantedEdgeScene()); }},
    {"flat", [] { return stillScene(flatFieldScene()); }},
    {"moving", movingScene},
    {"ramp", lightRampScene},
}};

// The brightest light the model takes, in lux: bright sunlight.
constexpr double maxLux = 100'000.0;

// The faults a device string names, one a fault= parameter; "stuck-low:N" and "stuck-high:N" name
// a data line, 0 to 7.
bool applyFault(ModuleFaults& faults, std::string_view name) {
    struct Flag {
        std::string_view name;
        bool ModuleFaults::*flag;
    };
    static constexpr Flag flags[] = {{"absent", &ModuleFaults::absent},
                                     {"unpowered", &ModuleFaults::unpowered},
                                     {"no-turnaround", &ModuleFaults::noTurnaround},
                                     {"deaf", &ModuleFaults::deaf},
                                     {"short-frame", &ModuleFaults::shortFrame}};
    for (const Flag& known : flags) {
        if (known.name == name) {
            faults.*known.flag = true;
            return true;
        }
    }
    for (const auto& [prefix, lines] :
         {std::pair{std::string_view("stuck-low:"), &ModuleFaults::stuckLow},
          std::pair{std::string_view("stuck-high:"), &ModuleFaults::stuckHigh}}) {
        if (name.size() == prefix.size() + 1 && name.starts_with(prefix) && name.back() >= '0' &&
            name.back() <= '7') {
            faults.*lines |= static_cast<uint8_t>(1u << (name.back() - '0'));
            return true;
        }
    }
    return false;
}

bool parsedNumber(std::string_view text, double& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

// One parameter: what it is called, whether it takes a value, and where it goes; apply is false
// for a value the parameter does not take.
struct Parameter {
    std::string_view name;
    bool takesValue;
    bool (*apply)(SimulatedModuleSettings& settings, std::string_view value);
};

constexpr std::array<Parameter, 6> parameters{{
    {"scene", true,
     [](SimulatedModuleSettings& settings, std::string_view value) {
         settings.scene = value;
         return true;
     }},
    {"lux", true,
     [](SimulatedModuleSettings& settings, std::string_view value) {
         double lux = 0;
         if (!parsedNumber(value, lux) || lux < 0 || lux > maxLux)
             return false;
         settings.model.lux = lux;
         return true;
     }},
    {"seed", true,
     [](SimulatedModuleSettings& settings, std::string_view value) {
         const auto [end, error] =
             std::from_chars(value.data(), value.data() + value.size(), settings.model.seed);
         return error == std::errc() && end == value.data() + value.size();
     }},
    {"noise", true,
     [](SimulatedModuleSettings& settings, std::string_view value) {
         if (value != "on" && value != "off")
             return false;
         settings.model.noise = value == "on";
         return true;
     }},
    {"fault", true,
     [](SimulatedModuleSettings& settings, std::string_view value) {
         return applyFault(settings.model.faults, value);
     }},
    {"reference", false,
     [](SimulatedModuleSettings& settings, std::string_view) {
         settings.model.reference = true;
         settings.model.noise = false;
         return true;
     }},
}};

std::string parameterList() {
    std::string scenes;
    for (const BuiltinScene& scene : builtinScenes)
        scenes += (scenes.empty() ? "" : ", ") + std::string(scene.name);
    return "the simulated module takes scene=NAME (a built-in scene: " + scenes +
           ") or scene=FILE (a binary PPM, or a folder of them), lux=LIGHT (0 to 100000), "
           "seed=NUMBER, noise=on|off, fault=FAULT (absent, unpowered, no-turnaround, deaf, "
           "short-frame, stuck-low:LINE or stuck-high:LINE; one a parameter, several may be "
           "given), and reference (the frames without the sensor's own stages, noise or loops), "
           "separated by commas";
}

Status refuse(std::string_view parameter, std::string_view problem) {
    return {StatusCode::PortError,
            quotedInput(parameter) + " " + std::string(problem) + "; " + parameterList()};
}

} // namespace

Status parseSimulatedModuleSettings(std::string_view text, SimulatedModuleSettings& settings) {
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const std::size_t equals = item.find('=');
        const std::string_view name = item.substr(0, equals);
        const Parameter* parameter = nullptr;
        for (const Parameter& known : parameters) {
            if (known.name == name)
                parameter = &known;
        }
        if (parameter == nullptr)
            return refuse(item, "is not a parameter");
        const bool hasValue = equals != std::string_view::npos;
        if (parameter->takesValue && (!hasValue || equals + 1 == item.size()))
            return refuse(item, "needs a value");
        if (!parameter->takesValue && hasValue)
            return refuse(item, "takes no value");
        if (!parameter->apply(settings, hasValue ? item.substr(equals + 1) : std::string_view()))
            return refuse(item, "has a value it does not take");
    }
    return {};
}

std::unique_ptr<SceneSequence> builtinSceneNamed(std::string_view name) {
    for (const BuiltinScene& scene : builtinScenes) {
        if (scene.name == name)
            return scene.make();
    }
    return nullptr;
}

} // namespace orvane
