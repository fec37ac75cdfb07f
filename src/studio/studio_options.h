// The command line of orvane-studio.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>

namespace orvane {

struct StudioOptions {
    bool help = false;
    bool version = false;
    bool defaults = false; // --defaults: start from every control's default, not the last session
    std::optional<std::string> traceFile; // --trace FILE: the bus trace goes there, nowhere else
    std::optional<std::string> pace;      // --pace PACE: the simulated module's, as ORVANE_SIM_PACE
    std::optional<std::string> device;    // --device DEVICE: the port, as ORVANE_PORT names it
    std::string error;                    // a wrong command line, said with the usage
};

// --help, --version, --defaults, --trace FILE, --pace PACE and --device DEVICE (or --NAME=VALUE);
// anything else is an error.
StudioOptions parseStudioOptions(std::span<char* const> arguments);

void printStudioHelp(std::ostream& out);

} // namespace orvane
