// The checks of a parallel-port device that need no camera module: the device file, its
// permissions, another driver holding the port, the port's modes and address as the kernel lists
// them, a claim, and whether the port can turn its data lines around. The kernel's files are read
// under a root a test can replace, and the port is only written once it is claimed.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "port/ppdev_port.h"

namespace orvane {

enum class ProbeResult { Passed, Failed, Skipped };

struct ProbeLine {
    ProbeResult result;
    std::string check; // "device", "claim", ...
    std::string text;  // what was seen and, on failure, what to do
};

struct PortProbeSetting {
    // Where the kernel lists its ports: parportN/modes, base-addr and devices/active.
    std::filesystem::path kernelPorts = "/proc/sys/dev/parport";
    std::function<std::unique_ptr<ParportDevice>()> makeDevice = makeLinuxParportDevice;
};

std::vector<ProbeLine> probeParportDevice(const std::string& path,
                                          const PortProbeSetting& setting = {});

} // namespace orvane
