// TraceSink: where the progress trace of the bus and the upload goes (standard output by default).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Receives whole trace lines, each ending in '\n'. Writing never fails as far as the caller is
// concerned: a line that cannot be delivered is dropped.
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void writeLine(std::string_view line) = 0;
};

// Writes each line to the process's standard output. A closed or broken standard output
// loses the lines and nothing else.
class StdoutTraceSink final : public TraceSink {
public:
    void writeLine(std::string_view line) override;
};

// Keeps every line in memory, for tests and tools that read the trace back.
class MemoryTraceSink final : public TraceSink {
public:
    void writeLine(std::string_view line) override { lines_.emplace_back(line); }
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

private:
    std::vector<std::string> lines_;
};

// Counts lines and drops them: for long runs where only the bus matters.
class CountingTraceSink final : public TraceSink {
public:
    void writeLine(std::string_view) override { ++count_; }
    std::size_t count() const { return count_; }

private:
    std::size_t count_ = 0;
};

} // namespace orvane
