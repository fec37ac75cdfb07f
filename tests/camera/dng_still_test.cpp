// DNG stills judged by an independent reader: dcraw reads back exactly the mosaic written, and
// develops the scene's colours into the right channels.
#include "orvane/dng.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "image/temp_directory.h"
#include "support/captured_frame.h"

namespace orvane {
namespace {

// What dcraw writes on standard output for the file, with options.
std::string dcraw(const std::string& options, const std::filesystem::path& file) {
    std::string out;
    std::FILE* pipe =
        ::popen((ORVANE_DCRAW " -c -t 0 " + options + " '" + file.string() + "'").c_str(), "r");
    char block[65536];
    for (std::size_t n; pipe != nullptr && (n = std::fread(block, 1, sizeof block, pipe)) > 0;)
        out.append(block, n);
    if (pipe != nullptr)
        ::pclose(pipe);
    return out;
}

// The samples of a binary PGM or PPM, and its size; 16-bit samples are big-endian.
std::vector<int> samples(const std::string& netpbm, uint32_t& width, uint32_t& height) {
    int maximum = 0, used = 0;
    char magic[3] = {};
    std::sscanf(netpbm.c_str(), "%2s %u %u %d%n", magic, &width, &height, &maximum, &used);
    std::vector<int> values;
    const int bytes = maximum > 255 ? 2 : 1;
    for (std::size_t at = std::size_t(used) + 1; at + bytes <= netpbm.size(); at += bytes)
        values.push_back(bytes == 2 ? uint8_t(netpbm[at]) << 8 | uint8_t(netpbm[at + 1])
                                    : uint8_t(netpbm[at]));
    return values;
}

TEST(DngStill, DcrawReadsBackTheMosaicAndDevelopsTheScenesColours) {
    Status status;
    const std::unique_ptr<Camera> camera = Camera::open("sim:reference", status);
    ASSERT_TRUE(camera) << status.message();
    ASSERT_TRUE(camera->set("format", 1).ok());
    FrameLayout layout;
    ASSERT_TRUE(camera->layout(PixelFormat::Mosaic, layout).ok());
    const std::vector<uint8_t> mosaic = testing::captured(*camera, PixelFormat::Mosaic);
    const std::vector<uint8_t> picture = testing::captured(*camera, PixelFormat::Rgb24);
    testing::TempDirectory directory;
    const std::filesystem::path file = directory.path() / "still.dng";
    ASSERT_TRUE(writeDng(file, {mosaic, layout.width, layout.height, 0,
                                std::chrono::system_clock::now(), "format = rgb"})
                    .ok());

    uint32_t width = 0, height = 0;
    const std::vector<int> raw = samples(dcraw("-D -4", file), width, height);
    ASSERT_EQ(width, layout.width);
    ASSERT_EQ(height, layout.height);
    ASSERT_EQ(raw, std::vector<int>(mosaic.begin(), mosaic.end()));

    const std::vector<int> developed = samples(dcraw("-w -o 0", file), width, height);
    ASSERT_EQ(developed.size(), picture.size());
    // Where our own conversion sees red, green or blue, dcraw's picture has that channel first.
    int judged = 0, agreed = 0;
    for (std::size_t p = 0; p + 2 < picture.size(); p += 3) {
        for (int c = 0; c < 3; ++c) {
            if (picture[p + c] < 150 || picture[p + (c + 1) % 3] > 80 ||
                picture[p + (c + 2) % 3] > 80)
                continue;
            ++judged;
            agreed += developed[p + c] > developed[p + (c + 1) % 3] &&
                      developed[p + c] > developed[p + (c + 2) % 3];
        }
    }
    EXPECT_GT(judged, 1000);
    EXPECT_GT(agreed, judged * 9 / 10);
}

} // namespace
} // namespace orvane
