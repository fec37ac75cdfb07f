// Regular-file reads and replacing writes on POSIX descriptors.
#include "image/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "files/regular_file.h"

namespace orvane {
namespace {

bool writeAll(int fd, std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// Devices and pipes cannot be renamed over; a dangling link creates its target as a plain open
// would. Never waits for a reader.
bool writeInPlace(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    FileDescriptor file{
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666)};
    return file.isOpen() && writeAll(file.get(), bytes) && file.close();
}

// The names beside target that a replacing write may use for a moment.
std::filesystem::path temporaryName(const std::filesystem::path& target, int attempt) {
    std::filesystem::path temporary = target;
    temporary.replace_filename("." + target.filename().string() + "." + std::to_string(::getpid()) +
                               "." + std::to_string(attempt) + ".tmp");
    return temporary;
}

// A file without a name in target's folder, where the file system has them: a program killed
// while it writes leaves nothing behind. Created with 0666 so the umask applies as for any new
// file.
int createUnnamed(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Gives the unnamed file a temporary name beside target, once its bytes are all there.
bool linkUnnamed(int fd, const std::filesystem::path& target, std::filesystem::path& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryName(target, attempt);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// A name beside target that nobody else uses, where unnamed files cannot be made.
int createTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryName(target, attempt);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Swapping the two names, then removing the old file, keeps the name on a whole file throughout
// and, unlike a rename over an existing file, does not make ext4 write the new blocks out before
// returning (a stall of milliseconds). A rename is the way in for a new name, and the fallback
// where a file system cannot swap names.
bool moveIntoPlace(const std::filesystem::path& temporary, const std::filesystem::path& target,
                   bool replacing) {
    if (replacing &&
        ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(temporary.c_str());
        return true;
    }
    return ::rename(temporary.c_str(), target.c_str()) == 0;
}

// The bytes, then the name: a kill part way leaves no file, or one that is whole.
bool finish(FileDescriptor& file, const std::filesystem::path& temporary,
            const std::filesystem::path& target, bool replacing) {
    const bool done = file.close() && moveIntoPlace(temporary, target, replacing);
    if (!done)
        ::unlink(temporary.c_str());
    return done;
}

bool writeThroughTemporary(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                           const struct stat* replaced) {
    // The new file keeps the permission bits of the one it replaces, set-ID bits aside.
    const auto keepMode = [replaced](int fd) {
        if (replaced != nullptr)
            ::fchmod(fd, replaced->st_mode & 0777);
    };
    std::filesystem::path temporary;
    if (FileDescriptor unnamed{createUnnamed(target)}; unnamed.isOpen()) {
        keepMode(unnamed.get());
        if (!writeAll(unnamed.get(), bytes))
            return false;
        if (linkUnnamed(unnamed.get(), target, temporary))
            return finish(unnamed, temporary, target, replaced != nullptr);
        // Without /proc the file cannot be named: written again under a name.
    }
    FileDescriptor file{createTemporary(target, temporary)};
    if (!file.isOpen())
        return false;
    keepMode(file.get());
    if (!writeAll(file.get(), bytes)) {
        ::unlink(temporary.c_str());
        return false;
    }
    return finish(file, temporary, target, replaced != nullptr);
}

} // namespace

std::optional<std::vector<uint8_t>> readRegularFile(const std::filesystem::path& path,
                                                    std::size_t maxBytes) {
    const RegularFileOpen opened = openRegularFile(path);
    std::vector<uint8_t> bytes;
    if (!opened.file.isOpen() || readUpTo(opened.file.get(), maxBytes, bytes) != 0)
        return std::nullopt;
    return bytes;
}

bool writeFileReplacing(const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0) {
        if (errno != ENOENT)
            return false;
        struct stat link {};
        if (::lstat(path.c_str(), &link) == 0)
            return writeInPlace(path, bytes);
        return writeThroughTemporary(path, bytes, nullptr);
    }
    if (!S_ISREG(existing.st_mode))
        return writeInPlace(path, bytes);
    // A write-protected file stays as it is, as it would for a plain open.
    if (::access(path.c_str(), W_OK) != 0)
        return false;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    return !error && writeThroughTemporary(target, bytes, &existing);
}

} // namespace orvane
