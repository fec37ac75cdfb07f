// Output files that never wait to be opened.
#include "files/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvane {

OpenedOutputDescriptor openOutputDescriptor(const std::filesystem::path& path) {
    FileDescriptor descriptor(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!descriptor.isOpen()) {
        const int error = errno;
        if (error == ENXIO)
            return {FileDescriptor(), "nothing reads the pipe; start its reader first"};
        return {FileDescriptor(), std::strerror(error)};
    }
    return {std::move(descriptor), {}};
}

OpenedOutput openOutputFile(const std::filesystem::path& path) {
    OpenedOutputDescriptor opened = openOutputDescriptor(path);
    if (!opened.file.isOpen())
        return {nullptr, std::move(opened.error)};
    // Once open, writes wait as they do for any file.
    const int descriptor = opened.file.get();
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (file == nullptr)
        return {nullptr, std::strerror(errno)};
    opened.file.release();
    return {OutputFile(file), {}};
}

} // namespace orvane
