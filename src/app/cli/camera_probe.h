// orvane-cli --probe: a checklist a user runs before anything else, to learn why no picture
// comes. Each check is a line with its result and, when it fails, what to do.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class Camera;

enum class ProbeResult { Passed, Failed, Skipped };

struct ProbeLine {
    ProbeResult result;
    std::string check; // "frame", "data lines", ...
    std::string text;  // what was seen and, on failure, what to do
};

// The checks through the camera, with the settings they need and the camera's own left as they
// were: a frame is a picture; each data line reads both 0 and 1 over two frames of very different
// brightness; the brightness written over the bus shows in the picture.
std::vector<ProbeLine> probeCamera(Camera& camera);

// Opens device as ORVANE_PORT names it, runs every check, prints a line each and one summary
// line on out. 0 when every check passed, 1 otherwise.
int runProbe(std::string_view device, std::ostream& out);

} // namespace orvane
