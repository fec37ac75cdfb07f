// orvane::probe: the checks to run before anything else, to learn why no picture comes. On a
// parallel-port device the port is checked alone first (the device file, its permissions,
// another driver holding it, its modes as the kernel lists them, a claim, whether it turns its
// data lines around); then, through the camera, that a frame is a picture, that every data line
// reads 0 and 1, and that the sensor hears the bus.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orvane/export.h"

namespace orvane {

enum class ProbeResult : uint8_t { Passed, Failed, Skipped };

struct ProbeCheck {
    ProbeResult result;
    std::string check; // "device", "claim", "frame", ...
    std::string text;  // what was seen and, when the check failed, what to do
};

struct ProbeOptions {
    // false: only what drives nothing and opens nothing (the device file, its permissions and the
    // kernel's lists), as a device list may look at a port it does not own.
    bool driving = true;
};

// The checks of device (as Camera::open names it), in order; a check that cannot run because
// one before it failed is Skipped. The camera is left as it was found.
ORVANE_API std::vector<ProbeCheck> probe(std::string_view device, const ProbeOptions& options = {});

} // namespace orvane
