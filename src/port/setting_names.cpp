// Setting names in messages.
#include "port/setting_names.h"

#include <array>

namespace orvane {
namespace {

struct SettingName {
    std::string_view variable; // the environment variable the programs read
    std::string_view option;   // the library's name for it
};

constexpr std::array<SettingName, 4> settingNames{{
    {"ORVANE_PORT", "device"},
    {"ORVANE_SCENE", "scene"},
    {"ORVANE_SIM_PACE", "simulatedPace"},
    {"ORVANE_VCD", "recording"},
}};

constexpr std::size_t longestQuoted = 80;

const SettingName& nameOf(Setting setting) {
    return settingNames[static_cast<std::size_t>(setting)];
}

} // namespace

std::string settingText(SettingNaming naming, Setting setting, std::string_view value) {
    const SettingName& name = nameOf(setting);
    if (naming == SettingNaming::Environment)
        return "orvane: " + std::string(name.variable) + "=" + std::string(value);
    return std::string(name.option) + " " + quotedInput(value);
}

std::string leaveOutText(SettingNaming naming, Setting setting) {
    const SettingName& name = nameOf(setting);
    if (naming == SettingNaming::Environment)
        return "unset " + std::string(name.variable);
    return "leave " + std::string(name.option) + " empty";
}

std::string quotedInput(std::string_view text) {
    constexpr char hex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    const std::size_t shown = text.size() > longestQuoted ? longestQuoted - 3 : text.size();
    for (const char c : text.substr(0, shown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            quoted += "\\x";
            quoted += hex[byte >> 4];
            quoted += hex[byte & 0x0F];
        } else {
            quoted += c;
        }
    }
    if (shown < text.size())
        quoted += "...";
    return quoted + "\"";
}

} // namespace orvane
