// orvane-cli --probe: a checklist a user runs before anything else, to learn why no picture
// comes. Each check is a line with its result and, when it fails, what to do.
#pragma once

#include <iosfwd>
#include <string_view>
#include <vector>

#include "port/port_probe.h"

namespace orvane {

class Camera;

// The checks through the camera, with the settings they need and the camera's own left as they
// were: a frame is a picture; each data line reads both 0 and 1 over two frames of very different
// brightness; the brightness written over the bus shows in the picture.
std::vector<ProbeLine> probeCamera(Camera& camera);

// Runs every check of device (as ORVANE_PORT names it): on a parallel-port device first the
// port's own (with setting), then, when they pass, those through the camera. Prints a line a
// check and one summary line on out; 0 when every check passed, 1 otherwise.
int runProbe(std::string_view device, std::ostream& out, const PortProbeSetting& setting = {});

} // namespace orvane
