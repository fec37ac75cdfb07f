// Rendered frames carry the scene in the byte layout the registers ask for, with the documented
// effect of the image controls; colour conversion is checked against plain floating-point formulas.
#include "sim/frame_renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvane {
namespace {

constexpr uint8_t yuvMode = 0x24;
constexpr uint8_t rgbMode = 0x2C;
constexpr uint8_t rgbMirrored = 0x6C;
constexpr uint8_t yuvMirrored = 0x64;

struct Window {
    uint8_t hs, he, vs, ve;
};

SensorRegisterFile sensorWith(uint8_t commonA, Window window,
                              ImageAdjustment adjustment = neutralAdjustment) {
    SensorRegisterFile sensor;
    sensor.write(SensorRegister::commonA, commonA);
    sensor.write(SensorRegister::horizontalStart, window.hs);
    sensor.write(SensorRegister::horizontalEnd, window.he);
    sensor.write(SensorRegister::verticalStart, window.vs);
    sensor.write(SensorRegister::verticalEnd, window.ve);
    sensor.write(SensorRegister::contrast, adjustment.contrast);
    sensor.write(SensorRegister::brightness, adjustment.brightness);
    sensor.write(SensorRegister::saturation, adjustment.saturation);
    return sensor;
}

Scene uniform(Rgb colour) {
    return Scene(1, 1, {colour});
}

std::vector<uint8_t> render(const Scene& scene, const SensorRegisterFile& sensor) {
    std::vector<uint8_t> out;
    renderFrame(scene, sensor, out);
    return out;
}

// A scene whose every pixel says where it is: red from the column, green from the row, blue
// falling with the column.
Scene coordinateScene(uint32_t width, uint32_t height) {
    std::vector<Rgb> pixels;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x)
            pixels.push_back(Rgb{static_cast<uint8_t>(x * 15), static_cast<uint8_t>(y * 30 + 7),
                                 static_cast<uint8_t>(250 - x * 15)});
    }
    return Scene(width, height, std::move(pixels));
}

// The colours of the 2x2 mosaic, written out independently of the renderer's table.
uint8_t mosaicSample(Rgb pixel, uint32_t x, uint32_t line) {
    if (line % 2 == 0)
        return x % 2 == 0 ? pixel.green : pixel.blue;
    return x % 2 == 0 ? pixel.red : pixel.green;
}

std::vector<Rgb> colourGrid() {
    std::vector<Rgb> colours;
    for (int r = 0; r < 256; r += 17) {
        for (int g = 0; g < 256; g += 17) {
            for (int b = 0; b < 256; b += 17)
                colours.push_back(
                    Rgb{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)});
        }
    }
    return colours;
}

double clampReal(double v) {
    return std::clamp(v, 0.0, 255.0);
}

TEST(ColourConversion, YuvMatchesFloatingPointFullRangeBt601) {
    for (const Rgb c : colourGrid()) {
        const double y = 0.299 * c.red + 0.587 * c.green + 0.114 * c.blue;
        const double u = clampReal(128 + (c.blue - y) / 1.772);
        const double v = clampReal(128 + (c.red - y) / 1.402);
        const YuvSample got = toYuv(c, neutralAdjustment);
        ASSERT_LE(std::abs(got.y - y), 0.51)
            << int{c.red} << "," << int{c.green} << "," << int{c.blue};
        // Chroma also carries the rounding of luma.
        ASSERT_LE(std::abs(got.u - u), 1.0) << int{c.red} << "," << int{c.green};
        ASSERT_LE(std::abs(got.v - v), 1.0) << int{c.red} << "," << int{c.green};
    }
}

TEST(ColourConversion, NeutralAdjustmentLeavesEveryColourExactly) {
    for (const Rgb c : colourGrid())
        ASSERT_EQ(adjustRgb(c, neutralAdjustment), c);
}

TEST(ColourConversion, AdjustedRgbMatchesFloatingPointMapping) {
    const ImageAdjustment adjustments[] = {
        {0x40, 0x80, 0x80}, {0x00, 0xC0, 0x80}, {0x00, 0x80, 0x20},
        {0xFF, 0x10, 0xFF}, {0x90, 0xA5, 0x00}, {0x00, 0x00, 0xC0},
    };
    for (const ImageAdjustment& a : adjustments) {
        for (const Rgb c : colourGrid()) {
            // The controls act on the scene's 8-bit luma, rounded half up.
            const double y = (299 * c.red + 587 * c.green + 114 * c.blue + 500) / 1000;
            const double adjusted = 128 + (y - 128) * (128 + a.contrast) / 128.0 +
                                    std::trunc((a.brightness - 128) / 2.0);
            const double gain = a.saturation / 128.0;
            const Rgb got = adjustRgb(c, a);
            ASSERT_LE(std::abs(got.red - clampReal(adjusted + gain * (c.red - y))), 1.0);
            ASSERT_LE(std::abs(got.green - clampReal(adjusted + gain * (c.green - y))), 1.0);
            ASSERT_LE(std::abs(got.blue - clampReal(adjusted + gain * (c.blue - y))), 1.0);
            ASSERT_LE(std::abs(toYuv(c, a).y - clampReal(adjusted)), 1.0);
        }
    }
}

TEST(FrameRenderer, YuvLinesArePixelPairsThenTwoSpareBytes) {
    // 8 pixels, 3 lines, 18 bytes per line.
    const auto frame = render(uniform({90, 90, 90}), sensorWith(yuvMode, {0, 6, 0, 2}));
    std::vector<uint8_t> line;
    for (int pair = 0; pair < 4; ++pair)
        line.insert(line.end(), {128, 90, 128, 90});
    line.insert(line.end(), {0, 0});
    std::vector<uint8_t> expected;
    for (int k = 0; k < 3; ++k)
        expected.insert(expected.end(), line.begin(), line.end());
    EXPECT_EQ(frame, expected);
}

TEST(FrameRenderer, MosaicLinesAlternateGreenBlueAndRedGreenThenThreeSpareBytes) {
    // 4 pixels, 4 lines, 7 bytes per line.
    const auto frame = render(uniform({200, 100, 50}), sensorWith(rgbMode, {0, 3, 0, 1}));
    const std::vector<uint8_t> expected = {
        100, 50,  100, 50,  0, 0, 0, // green, blue
        200, 100, 200, 100, 0, 0, 0, // red, green
        100, 50,  100, 50,  0, 0, 0, //
        200, 100, 200, 100, 0, 0, 0, //
    };
    EXPECT_EQ(frame, expected);
}

TEST(FrameRenderer, MosaicPositionsSampleTheirColourOfTheScenePixel) {
    const Scene scene = coordinateScene(16, 8);
    const auto frame = render(scene, sensorWith(rgbMode, {0, 6, 0, 3})); // 16 x 8, 19 per line
    ASSERT_EQ(frame.size(), 8u * 19u);
    for (uint32_t line = 0; line < 8; ++line) {
        for (uint32_t x = 0; x < 16; ++x)
            ASSERT_EQ(frame[line * 19 + x], mosaicSample(scene.pixel(x, line), x, line))
                << "line " << line << " pixel " << x;
    }
}

TEST(FrameRenderer, MirrorFlipsTheMosaicSceneLeftRightButKeepsTheMosaicOrder) {
    const Scene scene = coordinateScene(16, 8);
    const auto frame = render(scene, sensorWith(rgbMirrored, {0, 6, 0, 3}));
    for (uint32_t line = 0; line < 8; ++line) {
        for (uint32_t x = 0; x < 16; ++x)
            ASSERT_EQ(frame[line * 19 + x], mosaicSample(scene.pixel(15 - x, line), x, line))
                << "line " << line << " pixel " << x;
    }
}

TEST(FrameRenderer, MirrorReversesTheYuvLumaOfEveryLine) {
    const Scene scene = coordinateScene(8, 3);
    const auto plain = render(scene, sensorWith(yuvMode, {0, 6, 0, 2}));
    const auto mirrored = render(scene, sensorWith(yuvMirrored, {0, 6, 0, 2}));
    for (uint32_t line = 0; line < 3; ++line) {
        for (uint32_t x = 0; x < 8; ++x) {
            const uint8_t lumaByte = mirrored[line * 18 + 2 * x + 1];
            ASSERT_EQ(lumaByte, plain[line * 18 + 2 * (7 - x) + 1]) << line << "," << x;
            ASSERT_EQ(lumaByte, toYuv(scene.pixel(7 - x, line), neutralAdjustment).y);
        }
    }
    EXPECT_NE(plain, mirrored);
}

TEST(FrameRenderer, YuvPairCarriesVThenLeftLumaThenUThenRightLuma) {
    const Rgb red{255, 0, 0};
    const Rgb blue{0, 0, 255};
    const auto frame = render(Scene(2, 1, {red, blue}), sensorWith(yuvMode, {0, 3, 0, 0}));
    const YuvSample left = toYuv(red, neutralAdjustment);
    const YuvSample right = toYuv(blue, neutralAdjustment);
    ASSERT_EQ(frame.size(), 6u);
    EXPECT_EQ(frame[0], (left.v + right.v + 1) / 2);
    EXPECT_EQ(frame[1], left.y);
    EXPECT_EQ(frame[2], (left.u + right.u + 1) / 2);
    EXPECT_EQ(frame[3], right.y);
    EXPECT_GT(left.v, right.v); // red on the left, blue on the right
    EXPECT_LT(left.u, right.u);
}

TEST(FrameRenderer, SceneIsScaledToTheFrameByNearestNeighbour) {
    const Scene quadrants(2, 2, {{10, 10, 10}, {60, 60, 60}, {110, 110, 110}, {160, 160, 160}});
    const auto frame = render(quadrants, sensorWith(yuvMode, {56, 214, 5, 212})); // 312 x 208
    ASSERT_EQ(frame.size(), 208u * 626u);
    const auto luma = [&](uint32_t x, uint32_t line) { return frame[line * 626 + 2 * x + 1]; };
    EXPECT_EQ(luma(0, 0), 10);
    EXPECT_EQ(luma(155, 103), 10);
    EXPECT_EQ(luma(156, 103), 60);
    EXPECT_EQ(luma(311, 0), 60);
    EXPECT_EQ(luma(155, 104), 110);
    EXPECT_EQ(luma(0, 207), 110);
    EXPECT_EQ(luma(156, 104), 160);
    EXPECT_EQ(luma(311, 207), 160);
}

TEST(FrameRenderer, BuiltinSceneStartsWhiteOnTheLeftAndEndsBlackOnTheRight) {
    const Scene scene = builtinScene();
    const auto plain = render(scene, sensorWith(yuvMode, {56, 214, 5, 212}));
    EXPECT_EQ(plain[1], 255);         // first luma of line 0: white bar
    EXPECT_EQ(plain[2 * 311 + 1], 0); // last luma of line 0: black bar
    const auto mirrored = render(scene, sensorWith(yuvMirrored, {56, 214, 5, 212}));
    EXPECT_EQ(mirrored[1], 0);
    EXPECT_EQ(mirrored[2 * 311 + 1], 255);
}

struct LumaCase {
    const char* name;
    uint8_t sceneGrey;
    ImageAdjustment adjustment;
    uint8_t expected;
};

const LumaCase lumaCases[] = {
    {"NeutralBrightnessKeepsLuma", 100, {0x00, 0x80, 0x80}, 100},
    {"BrightnessAboveMiddleRaisesByHalfTheExcess", 100, {0x00, 0xC0, 0x80}, 132},
    {"BrightnessBelowMiddleLowersByHalfTheShortfall", 100, {0x00, 0x40, 0x80}, 68},
    {"FullBrightnessRaisesBy63", 100, {0x00, 0xFF, 0x80}, 163},
    {"ZeroBrightnessLowersBy64", 100, {0x00, 0x00, 0x80}, 36},
    {"BrightnessClampsAtWhite", 240, {0x00, 0xFF, 0x80}, 255},
    {"ContrastZeroKeepsDarkGrey", 96, {0x00, 0x80, 0x80}, 96},
    {"ContrastDoubledPushesDarkGreyDown", 96, {0x80, 0x80, 0x80}, 64},
    {"ContrastDoubledPushesLightGreyUp", 160, {0x80, 0x80, 0x80}, 192},
    {"ContrastOneAndAHalfOnDarkGrey", 96, {0x40, 0x80, 0x80}, 80},
    {"ContrastOneAndAHalfOnLightGrey", 160, {0x40, 0x80, 0x80}, 176},
    {"ContrastLeavesMiddleGrey", 128, {0xFF, 0x80, 0x80}, 128},
    {"ContrastClampsAtBlack", 20, {0xFF, 0x80, 0x80}, 0},
    {"SaturationDoesNotTouchGrey", 77, {0x00, 0x80, 0xFF}, 77},
};

class LumaControls : public ::testing::TestWithParam<LumaCase> {};

TEST_P(LumaControls, SetEveryLumaByteAndEveryMosaicSample) {
    const LumaCase& c = GetParam();
    const Scene scene = uniform({c.sceneGrey, c.sceneGrey, c.sceneGrey});
    const auto yuvFrame = render(scene, sensorWith(yuvMode, {0, 6, 0, 2}, c.adjustment));
    for (std::size_t line = 0; line < 3; ++line) {
        for (std::size_t k = 0; k < 16; ++k) {
            const bool lumaByte = k % 2 == 1;
            ASSERT_EQ(yuvFrame[line * 18 + k], lumaByte ? c.expected : 128) << line << "," << k;
        }
    }
    const auto rgbFrame = render(scene, sensorWith(rgbMode, {0, 3, 0, 1}, c.adjustment));
    for (std::size_t line = 0; line < 4; ++line) {
        for (std::size_t x = 0; x < 4; ++x)
            ASSERT_EQ(rgbFrame[line * 7 + x], c.expected) << line << "," << x;
    }
}

INSTANTIATE_TEST_SUITE_P(Controls, LumaControls, ::testing::ValuesIn(lumaCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameRenderer, SaturationScalesTheColourAwayFromGrey) {
    const Rgb orange{200, 100, 50};
    const uint8_t steps[] = {0x00, 0x40, 0x80, 0xC0, 0xFF};
    int lastU = -1;
    int lastV = -1;
    for (const uint8_t saturation : steps) {
        const auto frame =
            render(uniform(orange), sensorWith(yuvMode, {0, 3, 0, 0}, {0x00, 0x80, saturation}));
        const int u = 128 - frame[2]; // orange is short of blue: U below 128
        const int v = frame[0] - 128; // and rich in red: V above 128
        EXPECT_GT(u, lastU) << "saturation " << int{saturation};
        EXPECT_GT(v, lastV) << "saturation " << int{saturation};
        EXPECT_EQ(frame[1], 124) << "luma stays put";
        lastU = u;
        lastV = v;
    }
    const auto grey = render(uniform(orange), sensorWith(yuvMode, {0, 3, 0, 0}, {0, 0x80, 0}));
    EXPECT_EQ(grey[0], 128);
    EXPECT_EQ(grey[2], 128);
    const auto greyMosaic =
        render(uniform(orange), sensorWith(rgbMode, {0, 3, 0, 1}, {0, 0x80, 0}));
    for (std::size_t line = 0; line < 4; ++line) {
        for (std::size_t x = 0; x < 4; ++x)
            ASSERT_EQ(greyMosaic[line * 7 + x], 124);
    }
}

TEST(FrameRenderer, EmptyWindowGivesNoBytesAndTheBufferFollowsTheFrameSize) {
    std::vector<uint8_t> out;
    const SensorFrameLayout big =
        renderFrame(uniform({1, 2, 3}), sensorWith(rgbMode, {0, 255, 0, 255}), out);
    EXPECT_EQ(out.size(), big.frameBytes());
    EXPECT_EQ(out.size(), std::size_t{maxSimulatedFrameBytes});
    const SensorFrameLayout none =
        renderFrame(uniform({1, 2, 3}), sensorWith(yuvMode, {10, 12, 0, 5}), out);
    EXPECT_TRUE(none.empty());
    EXPECT_TRUE(out.empty());
    const SensorFrameLayout small =
        renderFrame(uniform({1, 2, 3}), sensorWith(yuvMode, {0, 3, 0, 0}), out);
    EXPECT_EQ(small, frameLayoutFor(sensorWith(yuvMode, {0, 3, 0, 0})));
    EXPECT_EQ(out.size(), 6u);
}

} // namespace
} // namespace orvane
