// Opening a file to write that may also be a pipe, without ever waiting for a reader.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace orvane {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OutputFile = std::unique_ptr<std::FILE, FileCloser>;

struct OpenedOutput {
    OutputFile file;   // null when it could not be opened
    std::string error; // why not: strerror, or that nothing reads the pipe
};

// Creates or truncates path for binary writing. A FIFO that nothing reads yet is refused at once
// instead of waiting for a reader, so a program can still be ended while it starts.
OpenedOutput openOutputFile(const std::filesystem::path& path);

} // namespace orvane
