// Opening a file to write that may also be a pipe, without ever waiting for a reader.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "files/regular_file.h"

namespace orvane {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OutputFile = std::unique_ptr<std::FILE, FileCloser>;

struct OpenedOutput {
    OutputFile file;   // null when it could not be opened
    std::string error; // why not: strerror, or that nothing reads the pipe
};

struct OpenedOutputDescriptor {
    FileDescriptor file; // not open when it could not be opened
    std::string error;   // why not: strerror, or that nothing reads the pipe
};

// Creates or truncates path for writing, non-blocking: a pipe whose reader takes nothing makes a
// write fail with EAGAIN instead of waiting, so the writer can decide how long to wait. A FIFO
// that nothing reads yet is refused at once.
OpenedOutputDescriptor openOutputDescriptor(const std::filesystem::path& path);

// Creates or truncates path for binary writing. A FIFO that nothing reads yet is refused at once
// instead of waiting for a reader, so a program can still be ended while it starts.
OpenedOutput openOutputFile(const std::filesystem::path& path);

} // namespace orvane
