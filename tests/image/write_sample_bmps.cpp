// write-sample-bmps: writes BMPs with the generated header and BmpWriter, next to the planes they
// were made from, for an independent reader to compare. Usage: write-sample-bmps DIRECTORY
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>

#include "image/frame_buffers.h"
#include "image/image_files.h"
#include "resources/bmp_header_template.h"

namespace {

// Widths whose rows need padding (314, 5) and widths that do not (312, 4).
constexpr orvane::FrameGeometry sampleGeometries[] = {
    {314, 7, 7, 630},
    {312, 5, 5, 626},
    {5, 3, 3, 12},
    {4, 2, 2, 8},
};

void writePlane(const std::filesystem::path& file, std::span<const uint8_t> plane) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(plane.data()),
              static_cast<std::streamsize>(plane.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: write-sample-bmps DIRECTORY\n");
        return 2;
    }
    orvane::FrameBuffers buffers;
    if (!buffers.allocate())
        return 1;
    uint32_t state = 12345;
    for (const orvane::FrameGeometry& g : sampleGeometries) {
        const std::filesystem::path dir =
            std::filesystem::path{argv[1]} /
            (std::to_string(g.imageWidth) + "x" + std::to_string(g.imageHeight));
        std::filesystem::create_directories(dir);
        if (!orvane::writeBmpHeaderTemplate(dir) ||
            orvane::readBmpHeader(dir, buffers.bmpHeader()) != orvane::FileResult::ok)
            return 1;
        const std::size_t pixels = std::size_t{g.imageWidth} * g.imageHeight;
        for (std::span<uint8_t> plane :
             {buffers.bluePlane(), buffers.greenPlane(), buffers.redPlane()})
            for (std::size_t j = 0; j < pixels; ++j) {
                state = state * 1664525u + 1013904223u;
                plane[j] = static_cast<uint8_t>(state >> 24);
            }
        if (orvane::BmpWriter(dir, buffers, g) != orvane::FileResult::ok)
            return 1;
        writePlane(dir / "blue.plane", buffers.bluePlane().first(pixels));
        writePlane(dir / "green.plane", buffers.greenPlane().first(pixels));
        writePlane(dir / "red.plane", buffers.redPlane().first(pixels));
    }
    return 0;
}
