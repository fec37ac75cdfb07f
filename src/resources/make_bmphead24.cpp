// make-bmphead24: writes the BMP header template "bmphead24" into the given directory (default:
// the working directory).
#include <cstdio>
#include <filesystem>

#include "resources/bmp_header_template.h"

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: make-bmphead24 [directory]\n");
        return 2;
    }
    const std::filesystem::path directory = argc == 2 ? argv[1] : ".";
    if (!orvane::writeBmpHeaderTemplate(directory)) {
        std::fprintf(stderr, "make-bmphead24: cannot write %s\n",
                     (directory / orvane::bmpHeaderTemplateName).c_str());
        return 1;
    }
    return 0;
}
