// Yuv422ToRgb against a plain double-precision reference, exhaustively, plus its line handling.
#include "image/yuv422_to_rgb.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace orvane {
namespace {

// The single-precision constant as the arithmetic sees it.
const double referenceK = static_cast<double>(0.16666667f);

uint8_t referenceClamp(double value) {
    if (value > 255.0)
        return 255;
    if (value < 0.0)
        return 0;
    return static_cast<uint8_t>(std::trunc(value));
}

struct Rgb {
    uint8_t red, green, blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

Rgb reference(int y, int vByte, int uByte) {
    const double c = vByte - 128;
    const double u = uByte - 128;
    return {referenceClamp(y + c), referenceClamp(y - 0.5 * c - referenceK * u),
            referenceClamp(y + u)};
}

struct Planes {
    explicit Planes(std::size_t size, uint8_t fill = 0)
        : green(size, fill), blue(size, fill), red(size, fill) {}
    Rgb at(std::size_t j) const { return {red[j], green[j], blue[j]}; }
    std::vector<uint8_t> green, blue, red;
};

Planes convert(const std::vector<uint8_t>& source, uint32_t lines, uint32_t width,
               uint32_t bytesPerLine, std::size_t planeSize = 0, uint8_t fill = 0) {
    Planes planes(planeSize != 0 ? planeSize : std::size_t{lines} * width, fill);
    Yuv422ToRgb(source, planes.green, planes.blue, planes.red, lines, width, bytesPerLine);
    return planes;
}

TEST(Yuv422ToRgb, ReferenceConstantIsTheSinglePrecisionSixth) {
    EXPECT_EQ(referenceK, 11184811.0 / 67108864.0);
}

// Every (Y, U, V): one call per V byte; line U holds groups (V, 2g, U, 2g + 1), so the 256
// pixels of a line take every luma once. Red and blue depend on two of the three bytes, so their
// reference values are tabulated once; green is computed for every triple. Converted twice: with
// whole lines, and as lines one group short (two pixels more than the bytes hold), which take the
// plain loop instead of the wide one; each through the vector loops and the plain ones.
class EveryLumaAndChroma : public ::testing::TestWithParam<std::tuple<uint32_t, bool>> {};

TEST_P(EveryLumaAndChroma, MatchesTheReference) {
    constexpr uint32_t lines = 256;
    constexpr uint32_t bytesPerLine = 512;
    const uint32_t width = std::get<0>(GetParam());
    const CpuFeatures cpu = std::get<1>(GetParam()) ? processorFeatures() : CpuFeatures{};
    std::vector<uint8_t> redReference(256 * 256);  // [V][Y]
    std::vector<uint8_t> blueReference(256 * 256); // [U][Y]
    for (int chroma = 0; chroma < 256; ++chroma) {
        for (int y = 0; y < 256; ++y) {
            redReference[std::size_t(chroma) * 256 + std::size_t(y)] =
                reference(y, chroma, 128).red;
            blueReference[std::size_t(chroma) * 256 + std::size_t(y)] =
                reference(y, 128, chroma).blue;
        }
    }
    std::vector<uint8_t> source(std::size_t{lines} * bytesPerLine);
    for (uint32_t u = 0; u < lines; ++u) {
        for (uint32_t g = 0; g < 128; ++g) {
            uint8_t* group = source.data() + std::size_t{u} * bytesPerLine + 4 * g;
            group[1] = static_cast<uint8_t>(2 * g);
            group[2] = static_cast<uint8_t>(u);
            group[3] = static_cast<uint8_t>(2 * g + 1);
        }
    }
    Planes planes(std::size_t{lines} * width);
    std::size_t mismatches = 0;
    std::string firstMismatch;
    for (int v = 0; v < 256; ++v) {
        for (std::size_t i = 0; i < source.size(); i += 4)
            source[i] = static_cast<uint8_t>(v);
        Yuv422ToRgb(source, planes.green, planes.blue, planes.red, lines, width, bytesPerLine, cpu);
        const double c = v - 128;
        for (int u = 0; u < 256; ++u) {
            const double uu = u - 128;
            const std::size_t row = std::size_t(u) * width;
            const uint8_t* red = planes.red.data() + row;
            const uint8_t* green = planes.green.data() + row;
            const uint8_t* blue = planes.blue.data() + row;
            const uint8_t* redRow = redReference.data() + std::size_t(v) * 256;
            const uint8_t* blueRow = blueReference.data() + std::size_t(u) * 256;
            for (int y = 0; y < 256; ++y, ++red, ++green, ++blue) {
                if (*red == redRow[y] && *blue == blueRow[y] &&
                    *green == referenceClamp(y - 0.5 * c - referenceK * uu))
                    continue;
                if (mismatches++ == 0)
                    firstMismatch = "Y " + std::to_string(y) + " U " + std::to_string(u) + " V " +
                                    std::to_string(v);
            }
        }
    }
    EXPECT_EQ(mismatches, 0u) << "first at " << firstMismatch;
}

INSTANTIATE_TEST_SUITE_P(Yuv422ToRgb, EveryLumaAndChroma,
                         ::testing::Combine(::testing::Values(256u, 258u), ::testing::Bool()));

struct GroupCase {
    const char* name;
    std::array<uint8_t, 4> group; // V, Y left, U, Y right
    Rgb left;
    Rgb right;
    friend void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.name; }
};

const GroupCase groupCases[] = {
    {"GreyGroupGivesItsLumas", {128, 50, 128, 200}, {50, 50, 50}, {200, 200, 200}},
    {"RedClampsAt255", {200, 250, 128, 250}, {255, 214, 250}, {255, 214, 250}},
    {"BlueClampsAt0", {128, 10, 0, 10}, {10, 31, 0}, {10, 31, 0}},
    {"GreenTruncatesTowardZero", {129, 100, 129, 100}, {101, 99, 101}, {101, 99, 101}},
    {"KAboveOneSixthGivesGreen8NotNine", {128, 10, 134, 10}, {10, 8, 16}, {10, 8, 16}},
    {"KAboveOneSixthGivesGreen11", {128, 10, 122, 10}, {10, 11, 4}, {10, 11, 4}},
    {"ChannelsLandInTheirPlanes", {228, 100, 28, 100}, {200, 66, 0}, {200, 66, 0}},
};

class YuvGroup : public ::testing::TestWithParam<GroupCase> {};

TEST_P(YuvGroup, GivesTheWrittenPixels) {
    const GroupCase& c = GetParam();
    const std::vector<uint8_t> source(c.group.begin(), c.group.end());
    const Planes planes = convert(source, 1, 2, 4);
    EXPECT_EQ(planes.at(0), c.left);
    EXPECT_EQ(planes.at(1), c.right);
}

INSTANTIATE_TEST_SUITE_P(Yuv422ToRgb, YuvGroup, ::testing::ValuesIn(groupCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Yuv422ToRgb, BothPixelsOfAGroupShareItsChroma) {
    for (int v = 28; v < 256; v += 3) {
        for (int u = 28; u < 256; u += 3) {
            const std::vector<uint8_t> source{uint8_t(v), 100, uint8_t(u), 101};
            const Planes planes = convert(source, 1, 2, 4);
            ASSERT_EQ(planes.red[1], planes.red[0] + 1) << "V " << v << " U " << u;
            ASSERT_EQ(planes.green[1], planes.green[0] + 1) << "V " << v << " U " << u;
            ASSERT_EQ(planes.blue[1], planes.blue[0] + 1) << "V " << v << " U " << u;
        }
    }
}

TEST(Yuv422ToRgb, BytesBeyondTwiceTheWidthAreIgnored) {
    constexpr uint32_t width = 6, lines = 3, bytesPerLine = 2 * width + 2;
    std::vector<uint8_t> zeroPadded(lines * bytesPerLine);
    for (std::size_t i = 0; i < zeroPadded.size(); ++i)
        zeroPadded[i] = (i % bytesPerLine) < 2 * width ? uint8_t(i * 37 + 11) : 0;
    std::vector<uint8_t> junkPadded = zeroPadded;
    for (std::size_t i = 0; i < junkPadded.size(); ++i)
        if (i % bytesPerLine >= 2 * width)
            junkPadded[i] = 0xA5;
    const Planes a = convert(zeroPadded, lines, width, bytesPerLine);
    const Planes b = convert(junkPadded, lines, width, bytesPerLine);
    EXPECT_EQ(a.red, b.red);
    EXPECT_EQ(a.green, b.green);
    EXPECT_EQ(a.blue, b.blue);
    // The lines are still taken bytesPerLine apart: line 1 starts at byte 14.
    EXPECT_EQ(a.at(width), reference(zeroPadded[15], zeroPadded[14], zeroPadded[16]));
}

// Lines of 6 bytes for 4 pixels: the second group of each line is V, Y, then 0, 0; the next line
// starts right after the 6 bytes. The source holds exactly the bytes read.
TEST(Yuv422ToRgb, BytesAShortLineLacksCountAsZero) {
    const std::vector<uint8_t> source{140, 60, 90,  70, 150, 80, //
                                      100, 30, 160, 40, 120, 50};
    const Planes planes = convert(source, 2, 4, 6);
    const Rgb expected[] = {
        reference(60, 140, 90), reference(70, 140, 90),  reference(80, 150, 0),
        reference(0, 150, 0),   reference(30, 100, 160), reference(40, 100, 160),
        reference(50, 120, 0),  reference(0, 120, 0),
    };
    for (std::size_t j = 0; j < 8; ++j)
        EXPECT_EQ(planes.at(j), expected[j]) << "pixel " << j;
}

TEST(Yuv422ToRgb, BytesBeyondTheSourceCountAsZero) {
    // Two lines of 8 bytes are described, only 11 bytes exist.
    const std::vector<uint8_t> source{128, 10, 128, 20, 128, 30, 128, 40, 200, 50, 90};
    const Planes planes = convert(source, 2, 4, 8);
    EXPECT_EQ(planes.at(3), reference(40, 128, 128));
    EXPECT_EQ(planes.at(4), reference(50, 200, 90));
    EXPECT_EQ(planes.at(5), reference(0, 200, 90));
    EXPECT_EQ(planes.at(6), reference(0, 0, 0));
    EXPECT_EQ(planes.at(7), reference(0, 0, 0));
}

TEST(Yuv422ToRgb, ResetGeometryReadsOnlyTheBytesCaptured) {
    // 242 lines of 327 bytes for 324 pixels: each line lacks 321 bytes.
    constexpr uint32_t width = 324, lines = 242, bytesPerLine = 327;
    std::vector<uint8_t> source(std::size_t{lines} * bytesPerLine);
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = uint8_t(i * 7);
    const Planes planes = convert(source, lines, width, bytesPerLine);
    const std::size_t lastLine = std::size_t{lines - 1} * bytesPerLine;
    const std::size_t lastRow = std::size_t{lines - 1} * width;
    EXPECT_EQ(planes.at(lastRow),
              reference(source[lastLine + 1], source[lastLine], source[lastLine + 2]));
    EXPECT_EQ(planes.at(lastRow + width - 1), reference(0, 0, 0));
}

TEST(Yuv422ToRgb, WritesExactlyWidthTimesLinesOfEachPlane) {
    constexpr uint32_t width = 4, lines = 3;
    const std::vector<uint8_t> source(width * lines * 2, 128);
    const Planes planes = convert(source, lines, width, 2 * width, width * lines + 5, 0xEE);
    for (std::size_t j = 0; j < planes.red.size(); ++j) {
        const uint8_t expected = j < width * lines ? 128 : 0xEE;
        EXPECT_EQ(planes.red[j], expected) << j;
        EXPECT_EQ(planes.green[j], expected) << j;
        EXPECT_EQ(planes.blue[j], expected) << j;
    }
}

} // namespace
} // namespace orvane
