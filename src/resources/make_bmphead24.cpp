// make-bmphead24: writes the BMP header template "bmphead24" into the given directory (default:
// the working directory), creating the directory when it is missing.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "resources/bmp_header_template.h"
#include "resources/program_info.h"

namespace {

constexpr std::string_view help =
    "Usage: make-bmphead24 [DIRECTORY]\n"
    "       make-bmphead24 --help | --version\n"
    "Writes bmphead24, the 54-byte header template every BMP of an upload starts from, into\n"
    "DIRECTORY (default: the current directory), creating DIRECTORY when it is missing.\n"
    "Exit status: 0 when written, 1 when it cannot be written, 2 for wrong arguments.\n";

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status =
            orvane::answerInfoOption(argc, argv, "make-bmphead24", help))
        return *status;
    // An option it does not know is refused, not taken for a folder to create ("--bogus").
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fprintf(stderr, "Usage: make-bmphead24 [DIRECTORY]; make-bmphead24 --help\n");
        return 2;
    }
    const std::filesystem::path directory = argc == 2 ? argv[1] : ".";
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::fprintf(stderr, "make-bmphead24: cannot create %s: %s\n", directory.c_str(),
                     error.message().c_str());
        return 1;
    }
    errno = 0;
    if (!orvane::writeBmpHeaderTemplate(directory)) {
        std::fprintf(stderr, "make-bmphead24: cannot write %s: %s\n",
                     (directory / orvane::bmpHeaderTemplateName).c_str(),
                     errno != 0 ? std::strerror(errno) : "write failed");
        return 1;
    }
    return 0;
}
