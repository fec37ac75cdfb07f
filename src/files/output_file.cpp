// Output files that never wait to be opened.
#include "files/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvane {

OpenedOutput openOutputFile(const std::filesystem::path& path) {
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENXIO)
            return {nullptr, "nothing reads the pipe; start its reader first"};
        return {nullptr, std::strerror(error)};
    }
    // Once open, writes wait as they do for any file.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(descriptor);
        return {nullptr, std::strerror(error)};
    }
    return {OutputFile(file), {}};
}

} // namespace orvane
