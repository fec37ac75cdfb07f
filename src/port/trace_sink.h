// TraceSink: where the progress trace of the bus and the upload goes (standard output by default).
#pragma once

#include <array>
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
    // Delivers what is held back. Called when a handler ends and before a message box.
    virtual void flush() {}
};

// Writes each line to the process's standard output, fully buffered in a large buffer even on a
// terminal, so a register write costs a handful of write calls instead of one per line; flush,
// and the end of the sink, deliver the rest. While the sink lives, standard output uses its
// buffer (set up when the sink is made, before the program's first trace line); when it ends,
// standard output is left unbuffered. A closed or broken standard output loses the lines and
// nothing else.
class StdoutTraceSink final : public TraceSink {
public:
    StdoutTraceSink();
    ~StdoutTraceSink() override;
    StdoutTraceSink(const StdoutTraceSink&) = delete;
    StdoutTraceSink& operator=(const StdoutTraceSink&) = delete;

    void writeLine(std::string_view line) override;
    void flush() override;

private:
    // Larger than everything one Set Register writes for a few registers.
    std::array<char, 64 * 1024> buffer_{};
};

// Keeps every line in memory, for tests and tools that read the trace back.
class MemoryTraceSink final : public TraceSink {
public:
    void writeLine(std::string_view line) override { lines_.emplace_back(line); }
    void flush() override { flushes_.push_back(lines_.size()); }
    const std::vector<std::string>& lines() const { return lines_; }
    // The number of lines written at each flush.
    const std::vector<std::size_t>& flushes() const { return flushes_; }
    void clear() {
        lines_.clear();
        flushes_.clear();
    }

private:
    std::vector<std::string> lines_;
    std::vector<std::size_t> flushes_;
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
