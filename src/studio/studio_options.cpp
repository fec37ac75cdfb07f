// orvane-studio's options and help.
#include "studio_options.h"

#include <ostream>

#include "command_line.h"

namespace orvane {

namespace {

constexpr FlagOption<StudioOptions> flagOptions[] = {
    {"--help", &StudioOptions::help},
    {"-h", &StudioOptions::help},
    {"--version", &StudioOptions::version},
    {"--defaults", &StudioOptions::defaults},
};
constexpr ValueOption<StudioOptions> valueOptions[] = {
    {"--trace", &StudioOptions::traceFile, "a file name"},
    {"--pace", &StudioOptions::pace, "a pace: hardware, or microseconds a port access"},
    {"--device", &StudioOptions::device, "a device: sim, sim:PARAMETERS, ppdev or direct"},
};

} // namespace

StudioOptions parseStudioOptions(std::span<char* const> arguments) {
    StudioOptions options;
    readCommandLine<StudioOptions>(arguments, flagOptions, valueOptions, options);
    return options;
}

void printStudioHelp(std::ostream& out) {
    out << "Usage: orvane-studio [--defaults] [--trace FILE] [--pace PACE] [--device DEVICE]\n"
           "       orvane-studio --help | --version\n"
           "\n"
           "Live view of the Orvane camera module: the picture captured continuously with the\n"
           "panel's own upload sequence, every panel control applied as it changes (Set\n"
           "Register runs after each change), a histogram and the frame figures.\n"
           "\n"
           "  --defaults     start from every control's default instead of the settings the\n"
           "                 last session ended with\n"
           "  --trace FILE   write the bus trace into FILE (no trace without it)\n"
           "  --pace PACE    make the simulated module as slow as real hardware: hardware\n"
           "                 (about 1 us a port access, 0.4 s a frame) or microseconds an\n"
           "                 access; the default is ORVANE_SIM_PACE, else no wait\n"
           "  --device DEVICE  the camera's port as ORVANE_PORT names it: sim (the simulated\n"
           "                 module), sim:PARAMETERS (sim:scene=card,reference), ppdev,\n"
           "                 ppdev:/dev/parportN or direct; the default is ORVANE_PORT, else sim\n"
           "\n"
           "Keys: Space pause/run, Ctrl+S snapshot (snapshot-NNNN.png and .raw in the working\n"
           "directory), Ctrl+O open settings, Ctrl+Shift+S save settings, F fit to window,\n"
           "1 actual size, mouse wheel zoom, Ctrl+Q quit.\n"
           "\n"
           "The camera's settings are kept from one session to the next; named profiles are in\n"
           "File > Profiles.\n"
           "\n"
           "Settings files hold one control a line, NAME = VALUE (brightness = 150), with the\n"
           "names of orvane-cli's set command; earlier studios' command files still load.\n"
           "\n"
           "Environment: ORVANE_PORT (port backend, as --device), ORVANE_SCENE (the simulated\n"
           "module's picture, a binary PPM), ORVANE_VCD (record every port access),\n"
           "ORVANE_VCD_LIMIT (the most that recording may take, such as 500M), ORVANE_SIM_PACE\n"
           "(the simulated module's pace, as --pace).\n";
}

} // namespace orvane
