// reconstructRgbPlanes: mosaic split, the weighted rows and the first rows' copies.
#include "image/rgb_planes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvane {
namespace {

enum class Colour { green, blue, red };

// Mosaic position of pixel x of line y: even lines green, blue; odd lines red, green.
Colour mosaicColour(std::size_t y, std::size_t x) {
    if (y % 2 == 0)
        return x % 2 == 0 ? Colour::green : Colour::blue;
    return x % 2 == 0 ? Colour::red : Colour::green;
}

FrameGeometry rgbGeometry(uint32_t width, uint32_t height) {
    return {width, height, height, width + 3};
}

class RgbPlanes : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(buffers_.allocate()); }

    // Fills the frame's lines (all bytesPerLine bytes) from sample(line, byte).
    void capture(const FrameGeometry& g,
                 const std::function<uint8_t(std::size_t, std::size_t)>& sample) {
        const std::span<uint8_t> raw = buffers_.rawFrame();
        for (std::size_t y = 0; y < g.linesToRead; ++y)
            for (std::size_t x = 0; x < g.bytesPerLine; ++x)
                raw[y * g.bytesPerLine + x] = sample(y, x);
    }

    // Blue and red sample rows hold one sample per pair of pixels: sample k of row p of a colour.
    void captureSamples(const FrameGeometry& g,
                        const std::function<uint8_t(Colour, std::size_t, std::size_t)>& sample) {
        capture(g, [&](std::size_t y, std::size_t x) {
            return x < g.imageWidth ? sample(mosaicColour(y, x), y, x / 2) : uint8_t{0};
        });
    }

    std::vector<uint8_t> row(std::span<uint8_t> plane, const FrameGeometry& g, std::size_t r) {
        const auto start = plane.begin() + static_cast<std::ptrdiff_t>(r * g.imageWidth);
        return {start, start + g.imageWidth};
    }

    FrameBuffers buffers_;
};

TEST_F(RgbPlanes, UniformFrameGivesItsValueEverywhere) {
    const FrameGeometry g = rgbGeometry(12, 6);
    for (const uint8_t v : {uint8_t{0}, uint8_t{1}, uint8_t{99}, uint8_t{255}}) {
        capture(g, [&](std::size_t, std::size_t) { return v; });
        reconstructRgbPlanes(buffers_, g);
        for (std::span<uint8_t> plane :
             {buffers_.bluePlane(), buffers_.greenPlane(), buffers_.redPlane()})
            for (std::size_t j = 0; j < 12 * 6; ++j)
                ASSERT_EQ(plane[j], v) << "value " << int(v) << " pixel " << j;
    }
}

TEST_F(RgbPlanes, EachColourComesFromItsMosaicPosition) {
    const FrameGeometry g = rgbGeometry(8, 6);
    captureSamples(g, [](Colour c, std::size_t, std::size_t) {
        return c == Colour::green ? uint8_t{10} : c == Colour::blue ? uint8_t{20} : uint8_t{30};
    });
    reconstructRgbPlanes(buffers_, g);
    for (std::size_t j = 0; j < 8 * 6; ++j) {
        EXPECT_EQ(buffers_.greenPlane()[j], 10) << j;
        EXPECT_EQ(buffers_.bluePlane()[j], 20) << j;
        EXPECT_EQ(buffers_.redPlane()[j], 30) << j;
    }
}

// Blue sample rows a = (100, 0), c = (0, 0), and red the same one line lower.
TEST_F(RgbPlanes, WidthFourRowsAreEndSamplesAroundOneWeightedPair) {
    const FrameGeometry g = rgbGeometry(4, 4);
    captureSamples(g, [](Colour c, std::size_t y, std::size_t k) {
        return c != Colour::green && y < 2 && k == 0 ? uint8_t{100} : uint8_t{0};
    });
    reconstructRgbPlanes(buffers_, g);
    for (std::span<uint8_t> plane : {buffers_.bluePlane(), buffers_.redPlane()}) {
        EXPECT_EQ(row(plane, g, 0), (std::vector<uint8_t>{100, 100, 0, 0}));
        EXPECT_EQ(row(plane, g, 1), (std::vector<uint8_t>{0, 0, 0, 0}));
        EXPECT_EQ(row(plane, g, 2), (std::vector<uint8_t>{100, 50, 20, 0}));
        EXPECT_EQ(row(plane, g, 3), (std::vector<uint8_t>{0, 20, 10, 0}));
    }
}

TEST_F(RgbPlanes, GreenPairBetweenRowsIsFortyAndTwenty) {
    const FrameGeometry g = rgbGeometry(4, 4);
    // Green sample row 0 = (100, 0), row 1 = (0, 0).
    captureSamples(g, [](Colour c, std::size_t y, std::size_t k) {
        return c == Colour::green && y == 0 && k == 0 ? uint8_t{100} : uint8_t{0};
    });
    reconstructRgbPlanes(buffers_, g);
    const std::span<uint8_t> green = buffers_.greenPlane();
    EXPECT_EQ(row(green, g, 0), (std::vector<uint8_t>{100, 100, 0, 0}));
    EXPECT_EQ(row(green, g, 1), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(row(green, g, 2), (std::vector<uint8_t>{100, 40, 20, 0}));
    EXPECT_EQ(row(green, g, 3), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST_F(RgbPlanes, GreenRowsInterpolateEachNeighbouringSampleRowPair) {
    const FrameGeometry g = rgbGeometry(4, 4);
    // Green sample rows: (10, 20), (30, 40), (50, 60), (70, 80).
    captureSamples(g, [](Colour c, std::size_t y, std::size_t k) {
        return c == Colour::green ? uint8_t(10 + 20 * y + 10 * k) : uint8_t{0};
    });
    reconstructRgbPlanes(buffers_, g);
    const std::span<uint8_t> green = buffers_.greenPlane();
    EXPECT_EQ(row(green, g, 1), (std::vector<uint8_t>{30, 30, 40, 40}));
    // (4*30 + 2*40 + 3*50 + 60) / 10 = 41, (2*30 + 4*40 + 50 + 3*60) / 10 = 45.
    EXPECT_EQ(row(green, g, 3), (std::vector<uint8_t>{30, 41, 45, 40}));
}

TEST_F(RgbPlanes, OutputRowOneIsSampleRowOneDoubledNotInterpolated) {
    const FrameGeometry g = rgbGeometry(8, 6);
    // Blue sample rows 0 and 2 are 0, row 1 is 200.
    captureSamples(g, [](Colour c, std::size_t y, std::size_t) {
        return c == Colour::blue && y == 2 ? uint8_t{200} : uint8_t{0};
    });
    reconstructRgbPlanes(buffers_, g);
    EXPECT_EQ(row(buffers_.bluePlane(), g, 0), std::vector<uint8_t>(8, 0));
    EXPECT_EQ(row(buffers_.bluePlane(), g, 1), std::vector<uint8_t>(8, 200));
}

TEST_F(RgbPlanes, BytesBeyondTheWidthAreIgnored) {
    const FrameGeometry g = rgbGeometry(8, 6);
    auto image = [](std::size_t y, std::size_t x) { return uint8_t(y * 41 + x * 13 + 7); };
    capture(g, [&](std::size_t y, std::size_t x) { return x < 8 ? image(y, x) : uint8_t{0}; });
    reconstructRgbPlanes(buffers_, g);
    const std::vector<uint8_t> blue(buffers_.bluePlane().begin(),
                                    buffers_.bluePlane().begin() + 48);
    const std::vector<uint8_t> green(buffers_.greenPlane().begin(),
                                     buffers_.greenPlane().begin() + 48);
    const std::vector<uint8_t> red(buffers_.redPlane().begin(), buffers_.redPlane().begin() + 48);

    capture(g, [&](std::size_t y, std::size_t x) { return x < 8 ? image(y, x) : uint8_t{0xC3}; });
    reconstructRgbPlanes(buffers_, g);
    EXPECT_TRUE(std::equal(blue.begin(), blue.end(), buffers_.bluePlane().begin()));
    EXPECT_TRUE(std::equal(green.begin(), green.end(), buffers_.greenPlane().begin()));
    EXPECT_TRUE(std::equal(red.begin(), red.end(), buffers_.redPlane().begin()));
}

TEST_F(RgbPlanes, TwoLineFrameRepeatsRowZeroInBlueAndRedRowOne) {
    // Leftovers of an earlier, taller frame must not show through.
    std::fill_n(buffers_.blueSamples().begin(), 64, uint8_t{77});
    std::fill_n(buffers_.redSamples().begin(), 64, uint8_t{77});
    const FrameGeometry g = rgbGeometry(8, 2);
    captureSamples(g, [](Colour c, std::size_t y, std::size_t k) {
        return uint8_t(10 * k + (c == Colour::green ? 1 + y : c == Colour::blue ? 3 : 5));
    });
    reconstructRgbPlanes(buffers_, g);
    EXPECT_EQ(row(buffers_.bluePlane(), g, 0),
              (std::vector<uint8_t>{3, 3, 13, 13, 23, 23, 33, 33}));
    EXPECT_EQ(row(buffers_.bluePlane(), g, 1), row(buffers_.bluePlane(), g, 0));
    EXPECT_EQ(row(buffers_.redPlane(), g, 0), (std::vector<uint8_t>{5, 5, 15, 15, 25, 25, 35, 35}));
    EXPECT_EQ(row(buffers_.redPlane(), g, 1), row(buffers_.redPlane(), g, 0));
    EXPECT_EQ(row(buffers_.greenPlane(), g, 0),
              (std::vector<uint8_t>{1, 1, 11, 11, 21, 21, 31, 31}));
    EXPECT_EQ(row(buffers_.greenPlane(), g, 1),
              (std::vector<uint8_t>{2, 2, 12, 12, 22, 22, 32, 32}));
}

TEST_F(RgbPlanes, OddLineCountRepeatsTheLastBlueAndRedRow) {
    // A YUV window of odd height reaches the RGB upload unchanged when only the format changes.
    for (const uint32_t height : {3u, 7u}) {
        const FrameGeometry g = rgbGeometry(8, height);
        for (std::span<uint8_t> plane : {buffers_.bluePlane(), buffers_.redPlane()})
            std::fill(plane.begin(), plane.end(), uint8_t{99});
        captureSamples(g, [](Colour c, std::size_t y, std::size_t k) {
            return uint8_t(10 * y + k + (c == Colour::blue ? 1 : 2));
        });
        reconstructRgbPlanes(buffers_, g);
        for (std::span<uint8_t> plane : {buffers_.bluePlane(), buffers_.redPlane()}) {
            EXPECT_EQ(row(plane, g, height - 1), row(plane, g, height - 2)) << height;
            EXPECT_EQ(std::count(plane.begin(), plane.begin() + 8 * height, 99), 0) << height;
        }
    }
}

TEST_F(RgbPlanes, WritesOnlyTheFramesRowsOfEachPlane) {
    const FrameGeometry g = rgbGeometry(8, 4);
    for (std::span<uint8_t> plane :
         {buffers_.bluePlane(), buffers_.greenPlane(), buffers_.redPlane()})
        std::fill_n(plane.begin(), 64, uint8_t{0xEE});
    capture(g, [](std::size_t, std::size_t) { return uint8_t{9}; });
    reconstructRgbPlanes(buffers_, g);
    for (std::span<uint8_t> plane :
         {buffers_.bluePlane(), buffers_.greenPlane(), buffers_.redPlane()})
        for (std::size_t j = 0; j < 64; ++j)
            ASSERT_EQ(plane[j], j < 32 ? 9 : 0xEE) << j;
}

// Plain reference, pixel by pixel: the sample of colour at (sample row, k) is read straight from
// the raw frame, and every output pixel is worked out on its own.
struct ReferencePlanes {
    std::vector<uint8_t> blue, green, red;
};

ReferencePlanes referencePlanes(std::span<const uint8_t> raw, const FrameGeometry& g) {
    const std::size_t w = g.imageWidth, h = g.imageHeight, bpl = g.bytesPerLine;
    auto blueAt = [&](std::size_t row, std::size_t k) {
        return int(raw[2 * row * bpl + 2 * k + 1]);
    };
    auto redAt = [&](std::size_t row, std::size_t k) {
        return int(raw[(2 * row + 1) * bpl + 2 * k]);
    };
    auto greenAt = [&](std::size_t row, std::size_t k) {
        return int(raw[row * bpl + 2 * k + (row % 2)]);
    };
    auto chroma = [&](const std::function<int(std::size_t, std::size_t)>& s, std::size_t y,
                      std::size_t x) -> uint8_t {
        if (y < 2)
            return uint8_t(s(h == 2 ? 0 : y, x / 2));
        const std::size_t k = (y - 2) / 2;
        const bool upper = y % 2 == 0;
        if (x == 0)
            return uint8_t(s(upper ? k : k + 1, 0));
        if (x == w - 1)
            return uint8_t(s(upper ? k : k + 1, w / 2 - 1));
        const std::size_t m = (x - 1) / 2;
        const int a0 = s(k, m), a1 = s(k, m + 1), c0 = s(k + 1, m), c1 = s(k + 1, m + 1);
        if (upper)
            return uint8_t(x % 2 == 1 ? (5 * a0 + 2 * a1 + 2 * c0 + c1) / 10
                                      : (2 * a0 + 5 * a1 + c0 + 2 * c1) / 10);
        return uint8_t(x % 2 == 1 ? (2 * a0 + a1 + 5 * c0 + 2 * c1) / 10
                                  : (a0 + 2 * a1 + 2 * c0 + 5 * c1) / 10);
    };
    auto green = [&](std::size_t y, std::size_t x) -> uint8_t {
        if (y < 2)
            return uint8_t(greenAt(y, x / 2));
        const std::size_t r = y - 2;
        if (x == 0)
            return uint8_t(greenAt(r, 0));
        if (x == w - 1)
            return uint8_t(greenAt(r, w / 2 - 1));
        const std::size_t m = (x - 1) / 2;
        const int a0 = greenAt(r, m), a1 = greenAt(r, m + 1), c0 = greenAt(r + 1, m),
                  c1 = greenAt(r + 1, m + 1);
        return uint8_t(x % 2 == 1 ? (4 * a0 + 2 * a1 + 3 * c0 + c1) / 10
                                  : (2 * a0 + 4 * a1 + c0 + 3 * c1) / 10);
    };
    ReferencePlanes out;
    for (std::size_t y = 0; y < h; ++y)
        for (std::size_t x = 0; x < w; ++x) {
            out.blue.push_back(chroma(blueAt, y, x));
            out.green.push_back(green(y, x));
            out.red.push_back(chroma(redAt, y, x));
        }
    return out;
}

TEST_F(RgbPlanes, MatchesAPlainReferenceOnIrregularFrames) {
    uint32_t state = 2024;
    for (const uint32_t width : {4u, 8u, 12u, 324u})
        for (const uint32_t height : {2u, 4u, 6u, 10u, 242u}) {
            const FrameGeometry g = rgbGeometry(width, height);
            capture(g, [&](std::size_t, std::size_t) {
                state = state * 1103515245u + 12345u;
                return uint8_t(state >> 23);
            });
            reconstructRgbPlanes(buffers_, g);
            const ReferencePlanes expected = referencePlanes(buffers_.rawFrame(), g);
            const std::size_t n = std::size_t{width} * height;
            EXPECT_TRUE(std::equal(expected.blue.begin(), expected.blue.end(),
                                   buffers_.bluePlane().begin()))
                << width << " x " << height;
            EXPECT_TRUE(std::equal(expected.green.begin(), expected.green.end(),
                                   buffers_.greenPlane().begin()))
                << width << " x " << height;
            EXPECT_TRUE(
                std::equal(expected.red.begin(), expected.red.end(), buffers_.redPlane().begin()))
                << width << " x " << height;
            EXPECT_EQ(expected.blue.size(), n);
        }
}

TEST_F(RgbPlanes, LargestWindowFitsAndAnOversizedOneChangesNothing) {
    EXPECT_TRUE(rgbFrameFits(rgbGeometry(624, 482)));
    EXPECT_FALSE(rgbFrameFits(rgbGeometry(640, 2))); // raw line longer than a line buffer
    EXPECT_FALSE(rgbFrameFits(rgbGeometry(2, 0)));
    EXPECT_FALSE(rgbFrameFits({4, 2, 2, 700}));
    const FrameGeometry tooTall = rgbGeometry(624, 600);
    EXPECT_FALSE(rgbFrameFits(tooTall));
    std::fill_n(buffers_.bluePlane().begin(), 16, uint8_t{0xEE});
    reconstructRgbPlanes(buffers_, tooTall);
    EXPECT_EQ(buffers_.bluePlane()[0], 0xEE);
}

} // namespace
} // namespace orvane
