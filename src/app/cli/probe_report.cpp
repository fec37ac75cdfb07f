// The probe's report.
#include "app/cli/probe_report.h"

#include <array>
#include <ostream>

#include <orvane/probe.h>

namespace orvane {

int runProbe(std::string_view device, std::ostream& out) {
    const std::vector<ProbeCheck> lines = probe(device);
    std::array<int, 3> counts{};
    for (const ProbeCheck& line : lines) {
        static constexpr const char* marks[] = {"ok  ", "FAIL", "skip"};
        out << marks[int(line.result)] << "  " << line.check << ": " << line.text << '\n';
        ++counts[int(line.result)];
    }
    out << "probe: " << counts[0] << " of " << lines.size() << " checks passed";
    if (counts[1] != 0)
        out << ", " << counts[1] << " failed";
    if (counts[2] != 0)
        out << ", " << counts[2] << " skipped";
    out << '\n';
    return counts[0] == int(lines.size()) ? 0 : 1;
}

} // namespace orvane
