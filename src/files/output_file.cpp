// Output files that never wait to be opened.
#include "files/output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvane {

Status openOutputFile(const std::filesystem::path& path, OutputFile& file) {
    file.reset();
    // Non-blocking while it opens: a FIFO without a reader fails with ENXIO instead of waiting.
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        if (errno == ENXIO)
            return {StatusCode::FileError, "nothing reads the pipe; start its reader first"};
        return {StatusCode::FileError, std::strerror(errno)};
    }
    // Once open, writes wait as they do for any file.
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    file.reset(::fdopen(descriptor, "wb"));
    if (!file) {
        const int error = errno;
        ::close(descriptor);
        return {StatusCode::FileError, std::strerror(error)};
    }
    return {};
}

} // namespace orvane
