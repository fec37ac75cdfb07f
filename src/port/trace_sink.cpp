// Standard-output trace sink: the chunks and the thread that writes them.
#include "port/trace_sink.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace orvane {

StdoutTraceSink::StdoutTraceSink(int descriptor)
    : descriptor_(descriptor), writer_([this] { writerLoop(); }) {
    filling_.reserve(chunkSize + 256);
    // What the program wrote to stdio before comes before the trace.
    std::fflush(stdout);
    previousTie_ = std::cerr.tie(&tie_);
}

StdoutTraceSink::~StdoutTraceSink() {
    flush();
    std::cerr.tie(previousTie_);
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    writer_.join();
}

void StdoutTraceSink::writeLine(std::string_view line) {
    filling_.append(line);
    if (filling_.size() >= chunkSize)
        handOver();
}

void StdoutTraceSink::flush() {
    if (!filling_.empty())
        handOver();
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
}

// Waits only while the writer still has the chunk before this one.
void StdoutTraceSink::handOver() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    filling_.swap(outgoing_);
    busy_ = true;
    lock.unlock();
    changed_.notify_all();
}

void StdoutTraceSink::writerLoop() {
    // Signals stay with the program's own threads.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (!busy_)
            return;
        lock.unlock();
        writeAll(outgoing_);
        outgoing_.clear();
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

// A write that fails for good (closed or broken standard output, full disk) drops the rest of
// the chunk: the trace is advisory.
void StdoutTraceSink::writeAll(const std::string& bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor_, next, left);
        if (written > 0) {
            next += written;
            left -= static_cast<std::size_t>(written);
        } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd ready{descriptor_, POLLOUT, 0};
            (void)::poll(&ready, 1, -1);
        } else if (written == 0 || errno != EINTR) {
            return;
        }
    }
}

int StdoutTraceSink::FlushOnSync::sync() {
    sink_.flush();
    if (sink_.previousTie_ != nullptr)
        sink_.previousTie_->flush();
    return 0;
}

} // namespace orvane
