// The view's pointer read-out and scroll bars in both zoom modes, and its message without a
// picture.
#include "viewer/image_view.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

#include "viewer/viewer_test_support.h"

namespace orvane {
namespace {

using testing::testPicture;

void movePointer(ImageView& view, QPointF viewportPos) {
    QMouseEvent move(QEvent::MouseMove, viewportPos, view.viewport()->mapToGlobal(viewportPos),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
}

class ImageViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view_.resize(400, 300);
        view_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view_));
    }

    ImageView view_;
};

TEST_F(ImageViewTest, PointerOverTheFittedPictureReportsItsPixel) {
    view_.setImage(testPicture(QSize(4, 2), Qt::red));
    view_.setZoomMode(ZoomMode::fitToWindow);
    QSignalSpy hovered(&view_, &ImageView::pixelHovered);
    QSignalSpy left(&view_, &ImageView::hoverLeft);

    const QRectF drawn = view_.mapping().imageRect();
    ASSERT_GT(drawn.width(), 100.0);
    const double scale = drawn.width() / 4;
    movePointer(view_, drawn.topLeft() + QPointF(3.5 * scale, 1.5 * scale));
    ASSERT_EQ(hovered.count(), 1);
    EXPECT_EQ(hovered.at(0).at(0).toPoint(), QPoint(3, 1));
    EXPECT_EQ(left.count(), 0);

    // The letterbox margin below the picture is not the picture.
    movePointer(view_, QPointF(drawn.center().x(), drawn.bottom() + 1));
    EXPECT_EQ(hovered.count(), 1);
    EXPECT_EQ(left.count(), 1);
}

TEST_F(ImageViewTest, ActualSizeScrollsAndTheReadOutFollowsTheScroll) {
    view_.setZoomMode(ZoomMode::actualSize);
    view_.setImage(testPicture(QSize(2000, 1500), Qt::gray));
    const QSize viewport = view_.viewport()->size();
    EXPECT_EQ(view_.horizontalScrollBar()->maximum(), 2000 - viewport.width());
    EXPECT_EQ(view_.verticalScrollBar()->maximum(), 1500 - viewport.height());

    QSignalSpy hovered(&view_, &ImageView::pixelHovered);
    movePointer(view_, QPointF(10, 20));
    ASSERT_EQ(hovered.count(), 1);
    EXPECT_EQ(hovered.last().at(0).toPoint(), QPoint(10, 20));

    // The picture moves under a still pointer.
    view_.horizontalScrollBar()->setValue(500);
    view_.verticalScrollBar()->setValue(300);
    ASSERT_GE(hovered.count(), 2);
    EXPECT_EQ(hovered.last().at(0).toPoint(), QPoint(510, 320));
}

TEST_F(ImageViewTest, ZoomChangeUnderAStillPointerReportsTheNewPixel) {
    view_.setZoomMode(ZoomMode::actualSize);
    view_.setImage(testPicture(QSize(20, 10), Qt::gray));
    const QPointF centre = view_.mapping().imageRect().center();
    QSignalSpy hovered(&view_, &ImageView::pixelHovered);
    movePointer(view_, centre + QPointF(-9.5, 0)); // pixel 0 of the middle row at 1:1
    ASSERT_EQ(hovered.count(), 1);
    EXPECT_EQ(hovered.last().at(0).toPoint(), QPoint(0, 5));

    view_.setZoomMode(ZoomMode::fitToWindow);
    ASSERT_EQ(hovered.count(), 2);
    const std::optional<QPoint> expected = view_.mapping().pixelAt(centre + QPointF(-9.5, 0));
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(hovered.last().at(0).toPoint(), *expected);
    EXPECT_NE(*expected, QPoint(0, 5));
}

TEST_F(ImageViewTest, LeavingTheViewEndsTheReadOut) {
    view_.setImage(testPicture(QSize(4, 2), Qt::red));
    QSignalSpy left(&view_, &ImageView::hoverLeft);
    movePointer(view_, view_.mapping().imageRect().center());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view_.viewport(), &leave);
    EXPECT_EQ(left.count(), 1);
}

TEST_F(ImageViewTest, MessageReplacesThePictureAndReportsNoPixel) {
    view_.setImage(testPicture(QSize(4, 2), Qt::red));
    view_.showMessage(QStringLiteral("No picture"));
    EXPECT_TRUE(view_.image().isNull());
    EXPECT_EQ(view_.message(), QStringLiteral("No picture"));

    QSignalSpy hovered(&view_, &ImageView::pixelHovered);
    movePointer(view_, QPointF(200, 150));
    EXPECT_EQ(hovered.count(), 0);
}

TEST_F(ImageViewTest, PaintsThePictureWhereTheMappingPutsIt) {
    QImage picture(QSize(2, 2), QImage::Format_RGB32);
    picture.setPixelColor(0, 0, Qt::red);
    picture.setPixelColor(1, 0, Qt::green);
    picture.setPixelColor(0, 1, Qt::blue);
    picture.setPixelColor(1, 1, Qt::white);
    view_.setImage(picture);
    for (const ZoomMode mode : {ZoomMode::fitToWindow, ZoomMode::actualSize}) {
        view_.setZoomMode(mode);
        const ViewMapping mapping = view_.mapping();
        const QImage shot = view_.viewport()->grab().toImage();
        const qreal ratio = shot.devicePixelRatio();
        for (const QPoint probe : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
            const QPointF centre = mapping.imageRect().topLeft() +
                                   (QPointF(probe) + QPointF(0.5, 0.5)) * mapping.scale();
            EXPECT_EQ(mapping.pixelAt(centre), probe);
            const QPointF onShot = centre * ratio;
            const QPoint shotPixel(static_cast<int>(std::floor(onShot.x())),
                                   static_cast<int>(std::floor(onShot.y())));
            EXPECT_EQ(shot.pixelColor(shotPixel), picture.pixelColor(probe))
                << "pixel " << probe.x() << "," << probe.y();
        }
    }
}

} // namespace
} // namespace orvane
