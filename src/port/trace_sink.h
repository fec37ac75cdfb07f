// TraceSink: where the progress trace of the bus and the upload goes (standard output by default).
#pragma once

#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
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

// Writes the lines to the process's standard output (file descriptor 1) from a thread of its
// own, so a slow reader such as a terminal takes its time while the bus works instead of after
// it. The lines collect in a chunk; a full chunk goes to the writer thread, and the caller waits
// only when the writer still has the chunk before. flush, and the end of the sink, hand over
// what is held and return once all of it is written: every line is out before a message box
// and before anything the program writes to std::cerr, which the sink ties to itself while it
// lives (std::cerr first delivers the trace, then what std::cout held). A closed or broken
// standard output loses the lines and nothing else. writeLine and flush come from one thread
// at a time.
class StdoutTraceSink final : public TraceSink {
public:
    // The trace goes to descriptor; 1 is the program's standard output.
    explicit StdoutTraceSink(int descriptor = 1);
    ~StdoutTraceSink() override;
    StdoutTraceSink(const StdoutTraceSink&) = delete;
    StdoutTraceSink& operator=(const StdoutTraceSink&) = delete;

    void writeLine(std::string_view line) override;
    void flush() override;

private:
    // std::cerr's tie while the sink lives: flushing it flushes the sink.
    class FlushOnSync final : public std::streambuf {
    public:
        explicit FlushOnSync(StdoutTraceSink& sink) : sink_(sink) {}

    protected:
        int sync() override;

    private:
        StdoutTraceSink& sink_;
    };

    void handOver();
    void writerLoop();
    void writeAll(const std::string& bytes);

    // About a dozen chunks for one Set Register: the terminal starts early and write calls
    // stay few.
    static constexpr std::size_t chunkSize = 16 * 1024;

    const int descriptor_;
    std::string filling_;  // the caller's chunk
    std::string outgoing_; // the writer's chunk, while busy_
    std::mutex mutex_;
    std::condition_variable changed_;
    bool busy_ = false;     // the writer holds outgoing_
    bool stopping_ = false; // the sink is ending
    FlushOnSync flushOnSync_{*this};
    std::ostream tie_{&flushOnSync_};
    std::ostream* previousTie_ = nullptr;
    std::thread writer_; // last, so it starts once everything it uses exists
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
