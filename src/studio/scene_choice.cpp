// Device strings of the simulated module's scenes and light.
#include "scene_choice.h"

#include <vector>

namespace orvane {
namespace {

constexpr std::string_view simulated = "sim";

// The comma-separated parameters after "sim:".
std::vector<std::string_view> parametersOf(std::string_view device) {
    std::vector<std::string_view> items;
    if (!device.starts_with(std::string(simulated) + ":"))
        return items;
    device.remove_prefix(simulated.size() + 1);
    while (!device.empty()) {
        const std::size_t comma = device.find(',');
        items.push_back(device.substr(0, comma));
        device = comma == std::string_view::npos ? std::string_view() : device.substr(comma + 1);
    }
    return items;
}

bool names(std::string_view item, std::string_view parameter) {
    return item.starts_with(parameter) && item.size() > parameter.size() &&
           item[parameter.size()] == '=';
}

} // namespace

std::string parameterOf(std::string_view device, std::string_view parameter) {
    std::string value;
    for (const std::string_view item : parametersOf(device)) {
        if (names(item, parameter))
            value = item.substr(parameter.size() + 1);
    }
    return value;
}

std::string deviceWith(std::string_view device, std::string_view parameter,
                       std::string_view value) {
    std::string result(simulated);
    char separator = ':';
    for (const std::string_view item : parametersOf(device)) {
        if (!names(item, parameter)) {
            result += separator;
            result += item;
            separator = ',';
        }
    }
    return result + separator + std::string(parameter) + "=" + std::string(value);
}

} // namespace orvane
