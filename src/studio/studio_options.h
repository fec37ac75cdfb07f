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
    std::string error;                    // a wrong command line, said with the usage
};

// --help, --version, --defaults, --trace FILE and --pace PACE (or --trace=FILE, --pace=PACE);
// anything else is an error.
StudioOptions parseStudioOptions(std::span<char* const> arguments);

void printStudioHelp(std::ostream& out);

} // namespace orvane
