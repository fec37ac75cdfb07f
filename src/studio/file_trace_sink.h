// FileTraceSink: the bus trace into a file or pipe, for the studio's --trace option.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

#include <orvane/camera.h>

namespace orvane {

class FileTraceSink final : public TraceOutput {
public:
    // Nothing is opened yet: lines are kept until open(), so the file is created only once the
    // camera is open and a sudo start has given up root.
    explicit FileTraceSink(std::filesystem::path path);
    ~FileTraceSink() override;
    FileTraceSink(const FileTraceSink&) = delete;
    FileTraceSink& operator=(const FileTraceSink&) = delete;

    // Creates the file and writes the lines kept so far. Empty on success, else why not; a pipe
    // without a reader is refused at once rather than waited for.
    std::string open();
    // Lines go out in blocks; one that cannot be written is dropped, like every trace line, and
    // noted.
    void writeLine(std::string_view line) override;
    // From any thread: a pipe whose reader then takes nothing for patience makes the sink give
    // up and drop the rest, so the program can end even when the reader has stalled.
    void stopWaitingAfter(std::chrono::milliseconds patience);
    // Writes what is left and closes the file; false when some of the trace did not reach it.
    bool close();
    // From any thread: nothing of the trace has been dropped so far.
    bool complete() const { return complete_.load(std::memory_order_relaxed); }

    const std::filesystem::path& path() const { return path_; }

private:
    void flush();
    bool waitForRoom();

    std::filesystem::path path_;
    int file_ = -1; // non-blocking once open
    std::string pending_;
    std::atomic<bool> complete_ = true;
    bool givenUp_ = false;
    // Steady-clock nanoseconds after which a full pipe is given up; the maximum: never.
    std::atomic<int64_t> giveUpAt_;
};

} // namespace orvane
