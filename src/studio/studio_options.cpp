// orvane-studio's options and help.
#include "studio/studio_options.h"

#include <ostream>
#include <string_view>

namespace orvane {

StudioOptions parseStudioOptions(std::span<char* const> arguments) {
    StudioOptions options;
    constexpr std::string_view traceOption = "--trace";
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == traceOption && i + 1 < arguments.size()) {
            options.traceFile = arguments[++i];
        } else if (argument.starts_with("--trace=") && argument.size() > traceOption.size() + 1) {
            options.traceFile = std::string(argument.substr(traceOption.size() + 1));
        } else if (argument == traceOption) {
            options.error = "--trace needs a file name";
        } else {
            options.error = "unknown argument " + std::string(argument);
        }
        if (!options.error.empty())
            break;
    }
    return options;
}

void printStudioHelp(std::ostream& out) {
    out << "Usage: orvane-studio [--trace FILE]\n"
           "       orvane-studio --help | --version\n"
           "\n"
           "Live view of the Orvane camera module: the picture captured continuously with the\n"
           "panel's own upload sequence, every panel control applied as it changes (Set\n"
           "Register runs after each change), a histogram and the frame figures.\n"
           "\n"
           "  --trace FILE   write the bus trace into FILE (no trace without it)\n"
           "\n"
           "Keys: Space pause/run, Ctrl+S snapshot (snapshot-NNNN.png and .raw in the working\n"
           "directory), Ctrl+O open settings, Ctrl+Shift+S save settings, F fit to window,\n"
           "1 actual size, mouse wheel zoom, Ctrl+Q quit.\n"
           "\n"
           "Settings files hold one control a line, NAME = VALUE (brightness = 150), with the\n"
           "names of orvane-cli's set command; earlier studios' command files still load.\n"
           "\n"
           "Environment: ORVANE_PORT (port backend, default sim), ORVANE_SCENE (the simulated\n"
           "module's picture, a binary PPM), ORVANE_VCD (record every port access),\n"
           "ORVANE_VCD_LIMIT (the most that recording may take, such as 500M).\n";
}

} // namespace orvane
