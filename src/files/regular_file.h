// Opening and reading files that must be regular files, without ever waiting on a pipe or device.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvane {

// Owns one file descriptor and closes it once.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int get() const { return fd_; }
    // Hands the descriptor over to a new owner.
    int release();
    // Some file systems report a failed write only when the file is closed.
    bool close();

private:
    int fd_;
};

// A file opened for reading only when it is a regular file. The open never waits for a pipe's
// writer, so a FIFO, a folder or a device is refused at once rather than read for ever or never.
struct RegularFileOpen {
    FileDescriptor file; // open only for a regular file
    int error = 0;       // the errno of a failed open or status query
    mode_t mode = 0;     // the type of a file that is there but is not a regular file
};
RegularFileOpen openRegularFile(const std::filesystem::path& path);

// What a file of this type is, in words: "a directory", "a FIFO", "a character device" ...
std::string fileKindName(mode_t mode);

// Reads on until bytes holds total bytes or the file ends, growing with what arrives rather than
// with what was asked for. Returns 0, or the errno of a failed read.
int readUpTo(int fd, std::size_t total, std::vector<uint8_t>& bytes);

} // namespace orvane
