// orvane-cli --probe: the probe's checks as a report, a line a check and a summary.
#pragma once

#include <iosfwd>
#include <string_view>

namespace orvane {

// Runs orvane::probe on device (as ORVANE_PORT names it) and prints a line a check, with what to
// do when it failed, then one summary line on out. 0 when every check passed, 1 otherwise.
int runProbe(std::string_view device, std::ostream& out);

} // namespace orvane
