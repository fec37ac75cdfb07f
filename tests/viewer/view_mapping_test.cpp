// Picture placement and view-to-pixel mapping in actual size and fitted to the window.
#include "viewer/view_mapping.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct PixelCase {
    const char* what;
    QPointF viewPos;
    std::optional<QPoint> pixel;
};

void expectPixels(const ViewMapping& mapping, std::initializer_list<PixelCase> cases) {
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(mapping.pixelAt(c.viewPos), c.pixel);
    }
}

TEST(ViewMapping, ActualSizeCentresASmallPictureWithMargins) {
    // 312 x 208 in 500 x 300: 94 columns left, 46 rows above.
    const ViewMapping mapping(QSize(312, 208), QSize(500, 300), ZoomMode::actualSize);
    EXPECT_EQ(mapping.scale(), 1.0);
    EXPECT_EQ(mapping.imageRect(), QRectF(94, 46, 312, 208));
    EXPECT_EQ(mapping.scrollRange(), QSize(0, 0));
    expectPixels(mapping, {
                              {"top left", {94, 46}, QPoint(0, 0)},
                              {"inside first pixel", {94.9, 46.9}, QPoint(0, 0)},
                              {"bottom right", {405, 253}, QPoint(311, 207)},
                              {"middle", {200, 150}, QPoint(106, 104)},
                              {"left margin", {93.5, 100}, std::nullopt},
                              {"top margin", {100, 45}, std::nullopt},
                              {"right margin", {406, 100}, std::nullopt},
                              {"bottom margin", {100, 254}, std::nullopt},
                              {"view corner", {0, 0}, std::nullopt},
                          });
}

TEST(ViewMapping, ActualSizeFollowsTheScrollOffsetOfALargePicture) {
    const ViewMapping mapping(QSize(1000, 800), QSize(400, 300), ZoomMode::actualSize,
                              QPoint(250, 120));
    EXPECT_EQ(mapping.scrollRange(), QSize(600, 500));
    EXPECT_EQ(mapping.imageRect(), QRectF(-250, -120, 1000, 800));
    expectPixels(mapping, {
                              {"view origin", {0, 0}, QPoint(250, 120)},
                              {"view far corner", {399, 299}, QPoint(649, 419)},
                          });
}

TEST(ViewMapping, ActualSizeClampsTheScrollOffset) {
    const ViewMapping past(QSize(1000, 800), QSize(400, 300), ZoomMode::actualSize,
                           QPoint(5000, -30));
    EXPECT_EQ(past.imageRect().topLeft(), QPointF(-600, 0));
    EXPECT_EQ(past.pixelAt({399, 299}), QPoint(999, 299));
}

TEST(ViewMapping, ActualSizeScrollsOneAxisAndCentresTheOther) {
    // Wider than the view, lower than it: scrolls across, centred top to bottom.
    const ViewMapping mapping(QSize(800, 100), QSize(300, 300), ZoomMode::actualSize,
                              QPoint(40, 70));
    EXPECT_EQ(mapping.scrollRange(), QSize(500, 0));
    EXPECT_EQ(mapping.imageRect(), QRectF(-40, 100, 800, 100));
    EXPECT_EQ(mapping.pixelAt({10, 150}), QPoint(50, 50));
    EXPECT_EQ(mapping.pixelAt({10, 99}), std::nullopt);
}

TEST(ViewMapping, FitEnlargesAndLeavesMarginsLeftAndRight) {
    // 300 x 200 in 800 x 400: scale 2, drawn 600 x 400, 100 columns either side.
    const ViewMapping mapping(QSize(300, 200), QSize(800, 400), ZoomMode::fitToWindow,
                              QPoint(50, 50));
    EXPECT_EQ(mapping.scale(), 2.0);
    EXPECT_EQ(mapping.imageRect(), QRectF(100, 0, 600, 400));
    EXPECT_EQ(mapping.scrollRange(), QSize(0, 0));
    expectPixels(mapping, {
                              {"top left", {100, 0}, QPoint(0, 0)},
                              {"second half of first pixel", {101.9, 1.9}, QPoint(0, 0)},
                              {"second pixel", {102, 2}, QPoint(1, 1)},
                              {"bottom right", {699.5, 399.5}, QPoint(299, 199)},
                              {"left margin", {99.9, 200}, std::nullopt},
                              {"right margin", {700, 200}, std::nullopt},
                              {"below", {400, 400}, std::nullopt},
                          });
}

TEST(ViewMapping, FitReducesAndLeavesMarginsAboveAndBelow) {
    // 1000 x 500 in 400 x 400: scale 0.4, drawn 400 x 200, 100 rows above and below.
    const ViewMapping mapping(QSize(1000, 500), QSize(400, 400), ZoomMode::fitToWindow);
    EXPECT_DOUBLE_EQ(mapping.scale(), 0.4);
    EXPECT_EQ(mapping.imageRect(), QRectF(0, 100, 400, 200));
    expectPixels(mapping, {
                              {"top left", {0, 100}, QPoint(0, 0)},
                              {"centre", {200, 200}, QPoint(500, 250)},
                              {"last column", {399.9, 299.9}, QPoint(999, 499)},
                              {"top margin", {200, 99.5}, std::nullopt},
                              {"bottom margin", {200, 300.1}, std::nullopt},
                          });
}

TEST(ViewMapping, FitWithAnOddRemainderCentresOnAHalfPixel) {
    // 100 x 100 in 201 x 100: scale 1, half a view pixel of margin beyond 50 on each side.
    const ViewMapping mapping(QSize(100, 100), QSize(201, 100), ZoomMode::fitToWindow);
    EXPECT_EQ(mapping.imageRect(), QRectF(50.5, 0, 100, 100));
    EXPECT_EQ(mapping.pixelAt({50.4, 10}), std::nullopt);
    EXPECT_EQ(mapping.pixelAt({50.5, 10}), QPoint(0, 10));
    EXPECT_EQ(mapping.pixelAt({150.4, 10}), QPoint(99, 10));
    EXPECT_EQ(mapping.pixelAt({150.5, 10}), std::nullopt);
}

TEST(ViewMapping, NoPictureOrNoViewMapsNothing) {
    for (const ViewMapping& mapping :
         {ViewMapping(QSize(), QSize(400, 300), ZoomMode::fitToWindow),
          ViewMapping(QSize(), QSize(400, 300), ZoomMode::actualSize),
          ViewMapping(QSize(300, 200), QSize(0, 0), ZoomMode::fitToWindow),
          ViewMapping(QSize(300, 200), QSize(0, 300), ZoomMode::actualSize)}) {
        EXPECT_TRUE(mapping.imageRect().isEmpty());
        EXPECT_EQ(mapping.pixelAt({0, 0}), std::nullopt);
        EXPECT_EQ(mapping.pixelAt({10, 10}), std::nullopt);
    }
}

} // namespace
} // namespace orvane
