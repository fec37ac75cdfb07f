// orvane-pipewire's options and help.
#include "pipewire_options.h"

#include <ostream>

#include "command_line.h"

namespace orvane {
namespace {

constexpr FlagOption<PipewireOptions> flagOptions[] = {
    {"--help", &PipewireOptions::help},
    {"-h", &PipewireOptions::help},
    {"--version", &PipewireOptions::version},
};
constexpr ValueOption<PipewireOptions> valueOptions[] = {
    {"--device", &PipewireOptions::device, "a device: sim, sim:PARAMETERS, ppdev or direct"},
    {"--profile", &PipewireOptions::profile, "a settings file"},
    {"--pace", &PipewireOptions::pace, "a pace: hardware, or microseconds a port access"},
};

} // namespace

PipewireOptions parsePipewireOptions(std::span<char* const> arguments) {
    PipewireOptions options;
    readCommandLine<PipewireOptions>(arguments, flagOptions, valueOptions, options);
    return options;
}

void printPipewireHelp(std::ostream& out) {
    out << "Usage: orvane-pipewire [--device DEVICE] [--profile FILE] [--pace PACE]\n"
           "       orvane-pipewire --help | --version\n"
           "\n"
           "Publishes the Orvane camera module as a PipeWire camera (a Video/Source node with\n"
           "media.role Camera), so that browsers, OBS and other desktop programs find it, with\n"
           "its controls as the node's properties. The port is driven only while a program\n"
           "takes frames. It runs until SIGTERM or SIGINT.\n"
           "\n"
           "  --device DEVICE  the camera's port as ORVANE_PORT names it: sim (the simulated\n"
           "                 module), sim:PARAMETERS (sim:scene=card,reference), ppdev,\n"
           "                 ppdev:/dev/parportN or direct; the default is ORVANE_PORT, else sim\n"
           "  --profile FILE apply a settings file (\"brightness = 150\" a line, as orvane-studio\n"
           "                 saves them) as the node starts\n"
           "  --pace PACE    make the simulated module as slow as real hardware: hardware\n"
           "                 (about 1 us a port access, 0.4 s a frame) or microseconds an\n"
           "                 access; the default is ORVANE_SIM_PACE, else no wait\n"
           "\n"
           "Formats: RGB and YUY2, at the window in force and at the other size, 1 to 30\n"
           "frames a second. Controls: PipeWire's brightness, contrast, saturation,\n"
           "sharpness and gain, and one custom property per other control (pw-dump lists\n"
           "them); any by name:\n"
           "  pw-cli set-param orvane-camera Props '{ params = [ \"mirror\" 1 ] }'\n"
           "\n"
           "As a service of the session: systemctl --user enable --now orvane-pipewire\n"
           "\n"
           "Environment: ORVANE_PORT (port backend, as --device), ORVANE_SCENE (the simulated\n"
           "module's picture, a binary PPM), ORVANE_SIM_PACE (as --pace).\n";
}

} // namespace orvane
