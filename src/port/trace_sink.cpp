// Standard-output trace sink.
#include "port/trace_sink.h"

#include <cstdio>

namespace orvane {

StdoutTraceSink::StdoutTraceSink() {
    std::fflush(stdout);
    (void)std::setvbuf(stdout, buffer_.data(), _IOFBF, buffer_.size());
}

StdoutTraceSink::~StdoutTraceSink() {
    // The buffer goes with the sink: deliver what it holds and stop using it.
    std::fflush(stdout);
    (void)std::setvbuf(stdout, nullptr, _IONBF, 0);
}

void StdoutTraceSink::flush() {
    std::fflush(stdout);
}

void StdoutTraceSink::writeLine(std::string_view line) {
    // A short write (closed pipe, full disk) is ignored on purpose: the trace is advisory.
    (void)std::fwrite(line.data(), 1, line.size(), stdout);
}

} // namespace orvane
