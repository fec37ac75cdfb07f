// The studio's trace file: kept lines until the file is open, then written in blocks to a
// non-blocking descriptor that waits for a slow pipe reader only until the program quits.
#include "file_trace_sink.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace orvane {

namespace {

// Lines are written once this much has gathered, and when the trace ends.
constexpr std::size_t blockBytes = 16 * 1024;
// How often a wait for a full pipe looks whether it should give up.
constexpr int pollMilliseconds = 50;

int64_t steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

FileTraceSink::FileTraceSink(std::filesystem::path path)
    : path_(std::move(path)), giveUpAt_(std::numeric_limits<int64_t>::max()) {}

FileTraceSink::~FileTraceSink() {
    if (file_ >= 0)
        ::close(file_);
}

std::string FileTraceSink::open() {
    // Non-blocking: a pipe whose reader takes nothing makes a write fail with EAGAIN instead of
    // waiting, and a FIFO that nothing reads yet is refused at once.
    file_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (file_ < 0)
        return errno == ENXIO ? "nothing reads the pipe; start its reader first"
                              : std::strerror(errno);
    // The kept lines wait for the next line or close(): writing them here could wait on a slow
    // pipe before the program can be told to quit.
    return {};
}

void FileTraceSink::writeLine(std::string_view line) {
    if (givenUp_) {
        complete_ = false;
        return;
    }
    pending_.append(line);
    if (file_ >= 0 && pending_.size() >= blockBytes)
        flush();
}

void FileTraceSink::stopWaitingAfter(std::chrono::milliseconds patience) {
    giveUpAt_.store(steadyNanoseconds() +
                    std::chrono::duration_cast<std::chrono::nanoseconds>(patience).count());
}

bool FileTraceSink::waitForRoom() {
    pollfd room{file_, POLLOUT, 0};
    while (steadyNanoseconds() < giveUpAt_.load()) {
        if (::poll(&room, 1, pollMilliseconds) != 0)
            return true; // room, or an error the next write reports
    }
    return false;
}

void FileTraceSink::flush() {
    std::size_t written = 0;
    while (written < pending_.size()) {
        const ssize_t count = ::write(file_, pending_.data() + written, pending_.size() - written);
        if (count > 0) {
            written += std::size_t(count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN && waitForRoom())
            continue;
        complete_ = false;
        givenUp_ = true;
        break;
    }
    pending_.clear();
}

bool FileTraceSink::close() {
    if (file_ < 0)
        return complete_ && pending_.empty();
    if (!givenUp_)
        flush();
    if (::close(file_) != 0)
        complete_ = false;
    file_ = -1;
    return complete_;
}

} // namespace orvane
