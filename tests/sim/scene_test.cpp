// The built-in picture shows its orientation, and the PPM reader takes good files and refuses bad
// ones with a reason.
#include "sim/scene.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane {
namespace {

std::vector<uint8_t> bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

constexpr Rgb white{255, 255, 255};
constexpr Rgb black{0, 0, 0};

TEST(BuiltinScene, BarsRunFromWhiteOnTheLeftToBlackOnTheRight) {
    const Scene scene = builtinScene();
    ASSERT_EQ(scene.width(), builtinSceneWidth);
    ASSERT_EQ(scene.height(), builtinSceneHeight);
    const Rgb expected[] = {white,         {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                            {255, 0, 255}, {255, 0, 0},   {0, 0, 255},   black};
    const uint32_t barWidth = builtinSceneWidth / 8;
    for (uint32_t bar = 0; bar < 8; ++bar) {
        EXPECT_EQ(scene.pixel(bar * barWidth, 0), expected[bar]) << "bar " << bar;
        EXPECT_EQ(scene.pixel(bar * barWidth + barWidth - 1, 100), expected[bar]) << "bar " << bar;
    }
}

TEST(BuiltinScene, GreyRampRisesFromBlackToWhiteLeftToRight) {
    const Scene scene = builtinScene();
    const uint32_t row = 280;
    EXPECT_EQ(scene.pixel(0, row), black);
    EXPECT_EQ(scene.pixel(builtinSceneWidth - 1, row), white);
    for (uint32_t x = 1; x < builtinSceneWidth; ++x) {
        const Rgb left = scene.pixel(x - 1, row);
        const Rgb here = scene.pixel(x, row);
        ASSERT_EQ(here.red, here.green);
        ASSERT_EQ(here.red, here.blue);
        ASSERT_LE(left.red, here.red);
    }
}

TEST(BuiltinScene, GlyphIsAnFInTheLowerLeftCorner) {
    const Scene scene = builtinScene();
    const auto cell = [&](uint32_t column, uint32_t row) {
        return scene.pixel(builtinGlyphLeft + column * builtinGlyphCell + builtinGlyphCell / 2,
                           builtinGlyphTop + row * builtinGlyphCell + builtinGlyphCell / 2);
    };
    for (uint32_t row = 0; row < 7; ++row)
        EXPECT_EQ(cell(0, row), white) << "stem, row " << row;
    for (uint32_t column = 0; column < 5; ++column)
        EXPECT_EQ(cell(column, 0), white) << "top bar, column " << column;
    EXPECT_EQ(cell(3, 3), white); // the middle bar is shorter than the top one
    EXPECT_NE(cell(4, 3), white);
    EXPECT_NE(cell(4, 6), white); // no foot: an upside-down F would have one
    EXPECT_NE(cell(0, 7), white); // the stem ends at the seventh row
    // Nothing lit in the mirrored place of the stem.
    EXPECT_NE(scene.pixel(builtinSceneWidth - 1 - builtinGlyphLeft - builtinGlyphCell / 2,
                          builtinGlyphTop + builtinGlyphCell * 4),
              white);
}

TEST(Scene, SizeThatDoesNotMatchThePixelsGivesOneBlackPixel) {
    const Scene scene(3, 2, std::vector<Rgb>(5, white));
    EXPECT_EQ(scene.width(), 1u);
    EXPECT_EQ(scene.height(), 1u);
    EXPECT_EQ(scene.pixel(0, 0), black);
}

TEST(Ppm, ParsesPixelsRowByRowTopRowFirst) {
    std::vector<uint8_t> file = bytesOf("P6\n3 2\n255\n");
    const uint8_t data[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    file.insert(file.end(), std::begin(data), std::end(data));
    std::optional<Scene> scene;
    const Status load = parsePpm(file, scene);
    ASSERT_TRUE(scene) << load.message();
    EXPECT_TRUE(load);
    EXPECT_EQ(scene->width(), 3u);
    EXPECT_EQ(scene->height(), 2u);
    EXPECT_EQ(scene->pixel(0, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(scene->pixel(2, 0), (Rgb{7, 8, 9}));
    EXPECT_EQ(scene->pixel(0, 1), (Rgb{10, 11, 12}));
    EXPECT_EQ(scene->pixel(2, 1), (Rgb{16, 17, 18}));
}

TEST(Ppm, AcceptsCommentsAndAnyWhitespaceInTheHeader) {
    std::vector<uint8_t> file = bytesOf("P6 # made by hand\n  1\t# width\n1\r\n255 ");
    // The pixel bytes start right after the single whitespace byte, even when that pixel looks
    // like whitespace or a comment sign.
    file.insert(file.end(), {'\n', '#', ' '});
    std::optional<Scene> scene;
    const Status load = parsePpm(file, scene);
    ASSERT_TRUE(scene) << load.message();
    EXPECT_EQ(scene->pixel(0, 0), (Rgb{'\n', '#', ' '}));
}

TEST(Ppm, IgnoresBytesAfterThePixelData) {
    std::vector<uint8_t> file = bytesOf("P6 1 1 255\n");
    file.insert(file.end(), {9, 8, 7, 6, 5});
    std::optional<Scene> scene;
    const Status load = parsePpm(file, scene);
    ASSERT_TRUE(scene) << load.message();
    EXPECT_EQ(scene->pixel(0, 0), (Rgb{9, 8, 7}));
}

struct MalformedCase {
    const char* name;
    std::string_view bytes;
    const char* reasonContains;
};

const MalformedCase malformedCases[] = {
    {"Empty", "", "P6"},
    {"AsciiPixmap", "P3\n1 1\n255\n0 0 0\n", "P6"},
    {"Greymap", "P5\n1 1\n255\n\x01", "P6"},
    {"MagicRunIntoWidth", "P61 1 255\n\x01\x02\x03", "separator"},
    {"MissingHeight", "P6\n1\n", "height"},
    {"NonDigitWidth", "P6\nx 1\n255\n\x01\x02\x03", "width"},
    {"NegativeWidth", "P6\n-1 1\n255\n\x01\x02\x03", "width"},
    {"WidthTooLarge", "P6\n8193 1\n255\n", "width"},
    {"HugeHeightOverflow", "P6\n1 99999999999999999999\n255\n", "height"},
    {"ZeroHeight", "P6\n1 0\n255\n", "empty"},
    {"SixteenBitSamples", "P6\n1 1\n65535\n\x01\x02\x03\x04\x05\x06", "255"},
    {"SmallMaximum", "P6\n1 1\n15\n\x01\x02\x03", "255"},
    {"MaximumTooLarge", "P6\n1 1\n65536\n", "maximum"},
    {"NoWhitespaceAfterMaximum", "P6\n1 1\n255", "whitespace"},
    {"PixelDataCutShort", "P6\n2 1\n255\n\x01\x02\x03\x04\x05", "cut short"},
};

class MalformedPpm : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedPpm, IsRefusedWithAReason) {
    const MalformedCase& c = GetParam();
    std::optional<Scene> scene;
    const Status load = parsePpm(bytesOf(c.bytes), scene);
    EXPECT_FALSE(scene);
    EXPECT_NE(load.message().find(c.reasonContains), std::string::npos) << load.message();
}

INSTANTIATE_TEST_SUITE_P(Files, MalformedPpm, ::testing::ValuesIn(malformedCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A scratch folder of its own, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("orvane-scene-test-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    std::filesystem::path file(std::string_view name, std::string_view contents) const {
        const std::filesystem::path where = path_ / name;
        std::ofstream(where, std::ios::binary).write(contents.data(), contents.size());
        return where;
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

TEST(PpmFile, LoadsAPictureWrittenToDisk) {
    const ScratchFolder scratch;
    const auto path =
        scratch.file("two.ppm", std::string_view("P6\n2 1\n255\n\xff\x00\x10\x20\x30\x40", 17));
    std::optional<Scene> scene;
    const Status load = loadPpmScene(path, scene);
    ASSERT_TRUE(scene) << load.message();
    EXPECT_EQ(scene->pixel(0, 0), (Rgb{0xFF, 0x00, 0x10}));
    EXPECT_EQ(scene->pixel(1, 0), (Rgb{0x20, 0x30, 0x40}));
}

TEST(PpmFile, MalformedFileIsRefusedNamingTheFile) {
    const ScratchFolder scratch;
    const auto path = scratch.file("short.ppm", "P6\n4 4\n255\nabc");
    std::optional<Scene> scene;
    const Status load = loadPpmScene(path, scene);
    EXPECT_FALSE(scene);
    EXPECT_NE(load.message().find("short.ppm"), std::string::npos) << load.message();
    EXPECT_NE(load.message().find("cut short"), std::string::npos) << load.message();
}

// Nothing but a regular file is read: no exception, no endless read, no wait on a writer.
TEST(PpmFile, OnlyARegularFileIsReadAndEveryRefusalNamesIt) {
    const ScratchFolder scratch;
    const std::filesystem::path fifo = scratch.path() / "pipe.ppm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = scratch.path().string();
    const struct {
        std::filesystem::path path;
        std::string error;
    } cases[] = {
        {scratch.path(), folder + ": a directory, not a regular file"},
        {fifo, fifo.string() + ": a FIFO, not a regular file"},
        {"/dev/zero", "/dev/zero: a character device, not a regular file"},
        {"/dev/urandom", "/dev/urandom: a character device, not a regular file"},
        {"/proc/self/mem", "cannot read /proc/self/mem: Input/output error"},
        {scratch.file("long.ppm", "P6\n#" + std::string(maxPpmHeaderBytes, 'x')),
         folder + "/long.ppm: the PPM header is longer than 65536 bytes"},
        {scratch.file("big.ppm", "P6 8192 8192 255\n\x01"),
         folder + "/big.ppm: the PPM pixel data is cut short: 1 bytes where 201326592 are needed"},
    };
    for (const auto& c : cases) {
        std::optional<Scene> scene;
        const Status load = loadPpmScene(c.path, scene);
        EXPECT_FALSE(scene) << c.path;
        EXPECT_EQ(load.message(), c.error);
    }
}

TEST(PpmFile, MissingFileIsRefused) {
    const ScratchFolder scratch;
    std::optional<Scene> scene;
    const Status load = loadPpmScene(scratch.path() / "absent.ppm", scene);
    EXPECT_FALSE(scene);
    EXPECT_NE(load.message().find("cannot open"), std::string::npos) << load.message();
}

} // namespace
} // namespace orvane
