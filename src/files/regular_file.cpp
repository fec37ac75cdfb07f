// Regular-file opens and reads on POSIX descriptors.
#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace orvane {

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

int FileDescriptor::release() {
    return std::exchange(fd_, -1);
}

bool FileDescriptor::close() {
    return ::close(release()) == 0;
}

RegularFileOpen openRegularFile(const std::filesystem::path& path) {
    // Without O_NONBLOCK, opening a pipe that has no writer would wait for one.
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (!file.isOpen())
        return RegularFileOpen{FileDescriptor{}, errno, 0};
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        return RegularFileOpen{FileDescriptor{}, errno, 0};
    if (!S_ISREG(status.st_mode))
        return RegularFileOpen{FileDescriptor{}, 0, status.st_mode};
    return RegularFileOpen{std::move(file), 0, status.st_mode};
}

std::string fileKindName(mode_t mode) {
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a file of another type";
}

int readUpTo(int fd, std::size_t total, std::vector<uint8_t>& bytes) {
    constexpr std::size_t chunk = 65536;
    while (bytes.size() < total) {
        const std::size_t filled = bytes.size();
        bytes.resize(filled + std::min(chunk, total - filled));
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        const int error = got < 0 ? errno : 0;
        bytes.resize(filled + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (error == EINTR)
            continue;
        if (error != 0)
            return error;
        if (got == 0)
            break;
    }
    return 0;
}

} // namespace orvane
