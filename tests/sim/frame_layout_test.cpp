// The simulated sensor's frame shape follows its window and format registers.
#include "sim/frame_layout.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct LayoutCase {
    const char* name;
    uint8_t commonA;
    uint8_t hs, he, vs, ve;
    SensorFrameLayout expected;
};

constexpr FrameFormat yuv = FrameFormat::Yuv422;
constexpr FrameFormat rgb = FrameFormat::RgbMosaic;

const LayoutCase layoutCases[] = {
    {"YuvCifWindowIs312By208With626BytesPerLine",
     0x24,
     56,
     214,
     5,
     212,
     {yuv, false, 312, 208, 626}},
    {"RgbWindowIs416By312With419BytesPerLine", 0x2C, 86, 192, 25, 180, {rgb, false, 416, 312, 419}},
    {"WidestCheckedRgbWindowIs624By482", 0x2C, 56, 214, 5, 245, {rgb, false, 624, 482, 627}},
    {"PowerOnWindowIs324By242InYuv", 0x24, 0x1A, 0xBE, 0x03, 0xF4, {yuv, false, 324, 242, 650}},
    {"MirrorBitOnlyMirrors", 0x64, 56, 214, 5, 212, {yuv, true, 312, 208, 626}},
    {"MirrorAndRgbTogether", 0x6C, 86, 192, 25, 180, {rgb, true, 416, 312, 419}},
    {"OtherBitsOfCommonADoNotChangeTheFormat", 0xB7, 56, 214, 5, 212, {yuv, false, 312, 208, 626}},
    {"NarrowestYuvWindowIsTwoPixels", 0x24, 10, 13, 7, 7, {yuv, false, 2, 1, 6}},
    {"NarrowestRgbWindowIsFourPixelsTwoLines", 0x2C, 10, 13, 7, 7, {rgb, false, 4, 2, 7}},
    {"EndTwoPastStartIsEmpty", 0x24, 10, 12, 5, 20, {yuv, false, 0, 0, 0}},
    {"EndBeforeStartIsEmpty", 0x2C, 100, 80, 5, 20, {rgb, false, 0, 0, 0}},
    {"VerticalEndBeforeStartIsEmpty", 0x24, 56, 214, 20, 19, {yuv, false, 0, 0, 0}},
    {"FullRegisterRangeIsTheLargestFrame",
     0x2C,
     0,
     255,
     0,
     255,
     {rgb, false, maxSimulatedFrameWidth, maxSimulatedFrameLines, maxSimulatedFrameWidth + 3}},
};

class FrameLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(FrameLayoutTable, FollowsTheRegisters) {
    const LayoutCase& c = GetParam();
    SensorRegisterFile sensor;
    sensor.write(SensorRegister::commonA, c.commonA & 0x7F); // bit 7 would be a soft reset
    sensor.write(SensorRegister::horizontalStart, c.hs);
    sensor.write(SensorRegister::horizontalEnd, c.he);
    sensor.write(SensorRegister::verticalStart, c.vs);
    sensor.write(SensorRegister::verticalEnd, c.ve);
    EXPECT_EQ(frameLayoutFor(sensor), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, FrameLayoutTable, ::testing::ValuesIn(layoutCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SensorFrameLayout, SpareBytesAreTwoInYuvAndThreeInRgb) {
    const SensorFrameLayout yuvLayout{yuv, false, 312, 208, 626};
    EXPECT_EQ(yuvLayout.imageBytesPerLine(), 624u);
    EXPECT_EQ(yuvLayout.spareBytesPerLine(), 2u);
    EXPECT_EQ(yuvLayout.frameBytes(), 208u * 626u);
    const SensorFrameLayout rgbLayout{rgb, false, 416, 312, 419};
    EXPECT_EQ(rgbLayout.imageBytesPerLine(), 416u);
    EXPECT_EQ(rgbLayout.spareBytesPerLine(), 3u);
    EXPECT_EQ(rgbLayout.frameBytes(), 312u * 419u);
}

TEST(SensorFrameLayout, NoWindowAsksForMoreThanTheLargestFrame) {
    SensorRegisterFile sensor;
    for (const uint8_t commonA : {0x24, 0x2C}) {
        sensor.write(SensorRegister::commonA, commonA);
        for (unsigned start = 0; start < 256; start += 5) {
            sensor.write(SensorRegister::horizontalStart, static_cast<uint8_t>(start));
            sensor.write(SensorRegister::verticalStart, static_cast<uint8_t>(start));
            for (unsigned end = 0; end < 256; end += 3) {
                sensor.write(SensorRegister::horizontalEnd, static_cast<uint8_t>(end));
                sensor.write(SensorRegister::verticalEnd, static_cast<uint8_t>(end));
                const SensorFrameLayout layout = frameLayoutFor(sensor);
                ASSERT_LE(layout.frameBytes(), maxSimulatedFrameBytes);
                ASSERT_EQ(layout.empty(), end <= start + 2);
            }
        }
    }
}

} // namespace
} // namespace orvane
