// End to end on the headless panel and the simulated module: after Set Register and Upload,
// "test.raw" holds exactly what the module served and "testfile.bmp", opened by an independent
// reader, is the module's frame run through the conversions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "image/rgb_planes.h"
#include "image/temp_directory.h"
#include "image/yuv422_to_rgb.h"
#include "resources/bmp_header_template.h"
#include "support/panel_bench.h"

namespace orvane {
namespace {

using testing::PanelBench;
using testing::TempDirectory;

std::vector<uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The served frame through the same conversions, as RGB rows, top row first.
std::vector<uint8_t> expectedRgb(std::span<const uint8_t> served, const FrameGeometry& g,
                                 bool rgbMode) {
    FrameBuffers buffers;
    EXPECT_TRUE(buffers.allocate());
    std::copy(served.begin(), served.end(), buffers.rawFrame().begin());
    if (rgbMode)
        reconstructRgbPlanes(buffers, g);
    else
        Yuv422ToRgb(buffers.rawFrame(), buffers.greenPlane(), buffers.bluePlane(),
                    buffers.redPlane(), g.imageHeight, g.imageWidth, g.bytesPerLine);
    std::vector<uint8_t> rgb;
    for (std::size_t j = 0; j < std::size_t{g.imageWidth} * g.imageHeight; ++j) {
        rgb.push_back(buffers.redPlane()[j]);
        rgb.push_back(buffers.greenPlane()[j]);
        rgb.push_back(buffers.bluePlane()[j]);
    }
    return rgb;
}

struct Scenario {
    const char* name;
    std::vector<int> clicks; // before Set Register
    bool rgb;
    uint32_t width, height;
};

TEST(UploadEndToEnd, RawAndBmpMatchWhatTheModuleServed) {
    const Scenario scenarios[] = {
        {"YuvCif", {}, false, 312, 208},
        {"YuvQcifMirrored", {1023, 1020}, false, 176, 144},
        {"RgbPreset", {1025}, true, 416, 312},
        {"RgbCifMirrored", {1025, 1022, 1020}, true, 324, 244},
        {"RgbQcif", {1025, 1023}, true, 176, 144},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        TempDirectory directory;
        ASSERT_TRUE(writeBmpHeaderTemplate(directory.path()));
        PanelBench bench(directory.path());
        bench.start();
        for (const int id : s.clicks)
            bench.panel.click(id);
        bench.panel.click(1);
        bench.panel.click(1039);

        const FrameGeometry& g = bench.geometry();
        ASSERT_EQ(g.imageWidth, s.width);
        ASSERT_EQ(g.imageHeight, s.height);
        EXPECT_EQ(bench.module.frameLayout().width, g.imageWidth);
        EXPECT_EQ(bench.module.frameLayout().lines, g.linesToRead);
        EXPECT_EQ(bench.module.frameLayout().bytesPerLine, g.bytesPerLine);

        const std::span<const uint8_t> served = bench.module.servedFrame();
        const std::vector<uint8_t> raw = readFile(directory.path() / "test.raw");
        ASSERT_EQ(raw.size(), std::size_t{g.linesToRead} * g.bytesPerLine);
        ASSERT_TRUE(std::equal(raw.begin(), raw.end(), served.begin(), served.end()));

        const std::vector<uint8_t> rgb = expectedRgb(served, g, s.rgb);
        const std::filesystem::path expected = directory.path() / "expected.rgb";
        std::ofstream(expected, std::ios::binary)
            .write(reinterpret_cast<const char*>(rgb.data()),
                   static_cast<std::streamsize>(rgb.size()));
        const std::string command = std::string(ORVANE_PIL_PYTHON) + " " + ORVANE_COMPARE_BMP +
                                    " '" + (directory.path() / "testfile.bmp").string() + "' '" +
                                    expected.string() + "' " + std::to_string(g.imageWidth) + " " +
                                    std::to_string(g.imageHeight);
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_EQ(bench.viewer.launches, 1);
        EXPECT_TRUE(bench.module.bus().violations().empty());
    }
}

} // namespace
} // namespace orvane
