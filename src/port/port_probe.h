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

#include "orvane/probe.h"
#include "port/ppdev_port.h"

namespace orvane {

struct PortProbeSetting {
    // Where the kernel lists its ports: parportN/modes, base-addr and devices/active.
    std::filesystem::path kernelPorts = "/proc/sys/dev/parport";
    std::function<std::unique_ptr<ParportDevice>()> makeDevice = makeLinuxParportDevice;
    // false: no claim and no turnaround test: nothing is opened.
    bool claim = true;
};

std::vector<ProbeCheck> probeParportDevice(const std::string& path,
                                           const PortProbeSetting& setting = {});

} // namespace orvane
