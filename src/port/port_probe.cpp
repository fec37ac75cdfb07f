// The probe's checks of a parallel-port device.
#include "port/port_probe.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

namespace orvane {
namespace {

// What the turnaround test writes: every line high in one, low in the other.
constexpr uint8_t turnaroundPatterns[] = {0x55, 0xAA};

std::optional<std::string> firstLine(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line))
        return std::nullopt;
    return line;
}

std::string hexByte(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

// "at 0x378" from base-addr's "888\t1912", or nothing when it cannot be read.
std::string addressText(const std::optional<std::string>& baseAddress) {
    unsigned long base = 0;
    if (!baseAddress || std::sscanf(baseAddress->c_str(), "%lu", &base) != 1)
        return "";
    char text[24];
    std::snprintf(text, sizeof text, " at 0x%lX", base);
    return text;
}

ProbeCheck kernelDriver(const std::filesystem::path& entry, const std::string& port) {
    const std::optional<std::string> active = firstLine(entry / "devices" / "active");
    if (!active)
        return {ProbeResult::Skipped, "driver", "the kernel lists no " + entry.string()};
    if (*active == "none")
        return {ProbeResult::Passed, "driver", "no other driver holds " + port};
    return {ProbeResult::Failed, "driver",
            "the " + *active + " driver holds " + port + ": stop it (sudo rmmod " + *active +
                ", and a line 'blacklist " + *active +
                "' in /etc/modprobe.d/orvane.conf keeps it away)"};
}

ProbeCheck kernelModes(const std::filesystem::path& entry, const std::string& port) {
    const std::optional<std::string> modes = firstLine(entry / "modes");
    if (!modes)
        return {ProbeResult::Skipped, "modes", "the kernel lists no " + entry.string()};
    const std::string offers =
        port + addressText(firstLine(entry / "base-addr")) + " offers " + *modes;
    if (modes->find("TRISTATE") != std::string::npos)
        return {ProbeResult::Passed, "modes", offers};
    return {ProbeResult::Failed, "modes",
            offers + " and no bidirectional (TRISTATE) mode: set the port to PS/2, EPP or ECP in "
                     "the firmware setup"};
}

// As the kernel's driver tests a port: with the data lines turned around, what is written to
// the data register must not come back.
ProbeCheck turnaround(ParportDevice& device) {
    device.setDataDirection(true);
    uint8_t read[2] = {};
    for (int i = 0; i < 2; ++i) {
        device.writeData(turnaroundPatterns[i]);
        read[i] = device.readData();
    }
    const std::string seen = "wrote 0x55 and 0xAA with the data lines turned around, read " +
                             hexByte(read[0]) + " and " + hexByte(read[1]);
    if (read[0] == turnaroundPatterns[0] && read[1] == turnaroundPatterns[1])
        return {ProbeResult::Failed, "turnaround",
                seen + ": the port still drives its data lines, as in SPP (output-only) mode; set "
                       "it to PS/2, EPP or ECP in the firmware setup"};
    return {ProbeResult::Passed, "turnaround", seen + ": the data lines turn around"};
}

} // namespace

std::vector<ProbeCheck> probeParportDevice(const std::string& path,
                                           const PortProbeSetting& setting) {
    std::vector<ProbeCheck> lines;
    const auto failAndSkipTheRest = [&](ProbeCheck failed) {
        lines.push_back(std::move(failed));
        for (const char* check : {"permissions", "driver", "modes", "claim", "turnaround"}) {
            if (!setting.claim && check == std::string_view("claim"))
                break;
            bool done = false;
            for (const ProbeCheck& line : lines)
                done = done || line.check == check;
            if (!done)
                lines.push_back({ProbeResult::Skipped, check, "no device to check"});
        }
        return lines;
    };
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return failAndSkipTheRest({ProbeResult::Failed, "device", ppdevOpenFailure(path, errno)});
    if (!S_ISCHR(status.st_mode))
        return failAndSkipTheRest({ProbeResult::Failed, "device",
                                   path + " is not a character device: give /dev/parportN"});
    lines.push_back({ProbeResult::Passed, "device", path + " is a character device"});
    if (::access(path.c_str(), R_OK | W_OK) != 0)
        lines.push_back({ProbeResult::Failed, "permissions", ppdevOpenFailure(path, errno)});
    else
        lines.push_back({ProbeResult::Passed, "permissions", "you may read and write " + path});

    const std::string port = std::filesystem::path(path).filename().string();
    const std::filesystem::path entry = setting.kernelPorts / port;
    lines.push_back(kernelDriver(entry, port));
    lines.push_back(kernelModes(entry, port));
    if (!setting.claim)
        return lines;

    std::unique_ptr<ParportDevice> device = setting.makeDevice();
    if (const int error = device->open(path); error != 0)
        return failAndSkipTheRest({ProbeResult::Failed, "claim", ppdevOpenFailure(path, error)});
    if (const int error = device->claim(); error != 0) {
        device->close();
        return failAndSkipTheRest({ProbeResult::Failed, "claim", ppdevClaimFailure(path, error)});
    }
    lines.push_back({ProbeResult::Passed, "claim", "the port on " + path + " can be claimed"});
    lines.push_back(turnaround(*device));
    device->release();
    device->close();
    return lines;
}

} // namespace orvane
