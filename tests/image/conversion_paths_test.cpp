// The conversions' vector and plain loops give the same bytes: every layout of the row path, and
// the planes, over many geometries of both data formats, with ORVANE_CPU=scalar choosing the
// plain loops.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "image/pixel_rows.h"
#include "image/rgb_planes.h"
#include "image/yuv422_to_rgb.h"

namespace orvane {
namespace {

struct Shape {
    bool mosaic;
    FrameGeometry geometry;
};

std::vector<uint8_t> rows(const std::vector<uint8_t>& raw, const Shape& s, PixelFormat format,
                          CpuFeatures cpu) {
    const FrameLayout layout = frameLayout(s.geometry, format);
    const std::size_t stride = layout.rowBytes + 5;
    std::vector<uint8_t> out(stride * layout.height, 0xA5);
    writeFrameRows(raw, s.geometry, s.mosaic, format, out.data(), stride, cpu);
    return out;
}

TEST(ConversionPaths, VectorAndPlainLoopsGiveTheSameBytesForEveryLayoutAndGeometry) {
    const CpuFeatures scalar{};
    const CpuFeatures vector = processorFeatures();
    if (!vector.avx2)
        GTEST_SKIP() << "this processor has no AVX2: only the plain loops exist here";
    const std::vector<Shape> shapes = {
        {false, {312, 208, 208, 626}},  {false, {324, 242, 242, 327}}, // the reset's short lines
        {false, {2, 1, 1, 4}},          {false, {34, 3, 3, 68}},       {false, {33, 5, 5, 70}},
        {false, {640, 240, 240, 1282}}, {true, {624, 482, 482, 627}},  {true, {4, 2, 2, 7}},
        {true, {36, 5, 5, 39}},         {true, {68, 3, 3, 60}},        {true, {176, 144, 144, 179}},
        {true, {100, 7, 7, 103}},
    };
    std::mt19937 random(7);
    for (const Shape& s : shapes) {
        const FrameGeometry& g = s.geometry;
        SCOPED_TRACE(std::to_string(g.imageWidth) + " x " + std::to_string(g.imageHeight) +
                     (s.mosaic ? " mosaic" : " yuv"));
        std::vector<uint8_t> raw(std::size_t{g.linesToRead} * g.bytesPerLine);
        for (uint8_t& byte : raw)
            byte = static_cast<uint8_t>(random());
        for (const PixelFormat format :
             {PixelFormat::Rgb24, PixelFormat::Bgr24, PixelFormat::Xrgb32}) {
            EXPECT_EQ(rows(raw, s, format, scalar), rows(raw, s, format, vector));
        }
        // The planes the panel writes, through the same row kernels.
        FrameBuffers planes[2];
        for (int path = 0; path < 2; ++path) {
            ASSERT_TRUE(planes[path].allocate());
            std::copy(raw.begin(), raw.end(), planes[path].rawFrame().begin());
            const CpuFeatures cpu = path == 0 ? scalar : vector;
            if (s.mosaic)
                reconstructRgbPlanes(planes[path], g, cpu);
            else
                Yuv422ToRgb(planes[path].rawFrame(), planes[path].greenPlane(),
                            planes[path].bluePlane(), planes[path].redPlane(), g.imageHeight,
                            g.imageWidth, g.bytesPerLine, cpu);
        }
        const std::size_t n = std::size_t{g.imageWidth} * g.imageHeight;
        EXPECT_TRUE(std::equal(planes[0].redPlane().begin(), planes[0].redPlane().begin() + n,
                               planes[1].redPlane().begin()));
        EXPECT_TRUE(std::equal(planes[0].greenPlane().begin(), planes[0].greenPlane().begin() + n,
                               planes[1].greenPlane().begin()));
        // The row path's RGB24 is the planes interleaved.
        const std::vector<uint8_t> rgb = rows(raw, s, PixelFormat::Rgb24, vector);
        const std::size_t stride = 3 * std::size_t{g.imageWidth} + 5;
        for (std::size_t j = 0; j < n; ++j) {
            const std::size_t at = (j / g.imageWidth) * stride + 3 * (j % g.imageWidth);
            ASSERT_EQ(rgb[at + 2], planes[0].bluePlane()[j]) << j;
        }
    }
    ::setenv("ORVANE_CPU", "scalar", 1);
    EXPECT_EQ(conversionFeatures(), scalar);
    ::unsetenv("ORVANE_CPU");
    EXPECT_EQ(conversionFeatures(), vector);
}

} // namespace
} // namespace orvane
