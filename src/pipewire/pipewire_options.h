// orvane-pipewire's options and help.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>

namespace orvane {

struct PipewireOptions {
    std::optional<std::string> device;
    std::optional<std::string> profile;
    std::optional<std::string> pace;
    bool help = false;
    bool version = false;
    std::string error; // the first argument that cannot be used, and why
};

PipewireOptions parsePipewireOptions(std::span<char* const> arguments);
void printPipewireHelp(std::ostream& out);

} // namespace orvane
