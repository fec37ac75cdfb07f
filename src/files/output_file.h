// Opening a file to write that may also be a pipe, without ever waiting for a reader.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

#include "orvane/status.h"

namespace orvane {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OutputFile = std::unique_ptr<std::FILE, FileCloser>;

// Creates or truncates path for binary writing into file. A FIFO that nothing reads yet is
// refused at once instead of waiting for a reader, so a program can still be ended while it
// starts. FileError, saying why (strerror, or that nothing reads the pipe), when it cannot.
Status openOutputFile(const std::filesystem::path& path, OutputFile& file);

} // namespace orvane
