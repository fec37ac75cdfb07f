// Standard-output trace sink.
#include "port/trace_sink.h"

#include <cstdio>

namespace orvane {

void StdoutTraceSink::writeLine(std::string_view line) {
    // A short write (closed pipe, full disk) is ignored on purpose: the trace is advisory.
    (void)std::fwrite(line.data(), 1, line.size(), stdout);
}

} // namespace orvane
