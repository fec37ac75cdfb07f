// The viewer window: title, zoom toggle, status bar read-out and following the file's reloads.
#include "viewer/monitor_window.h"

#include <QAction>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "viewer/image_view.h"
#include "viewer/viewer_test_support.h"
#include "viewer/watched_image.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::eventTimeoutMs;
using testing::testPicture;

TEST(MonitorTitle, NamesFileFolderSizeAndZoom) {
    EXPECT_EQ(monitorTitle(QStringLiteral("/home/me/run/testfile.bmp"), QSize(312, 208),
                           ZoomMode::fitToWindow),
              QStringLiteral("testfile.bmp in /home/me/run - 312 x 208 pixels - fit to window"));
    EXPECT_EQ(monitorTitle(QStringLiteral("/tmp/x/testfile.bmp"), QSize(), ZoomMode::actualSize),
              QStringLiteral("testfile.bmp in /tmp/x - no picture"));
}

TEST(PixelStatusText, GivesPositionAndDecimalChannels) {
    EXPECT_EQ(pixelStatusText(QPoint(12, 40), qRgb(200, 100, 34)),
              QStringLiteral("x 12, y 40: R 200, G 100, B 34"));
    EXPECT_EQ(pixelStatusText(QPoint(0, 207), qRgb(0, 255, 7)),
              QStringLiteral("x 0, y 207: R 0, G 255, B 7"));
}

class MonitorWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    QString path() const { return folder_.filePath(QStringLiteral("testfile.bmp")); }

    static void movePointer(MonitorWindow& window, QPointF viewportPos) {
        QWidget* viewport = window.view()->viewport();
        QMouseEvent move(QEvent::MouseMove, viewportPos, viewport->mapToGlobal(viewportPos),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
    }

    QTemporaryDir folder_;
};

TEST_F(MonitorWindowTest, MissingFileShowsTheMessageInTheWindow) {
    WatchedImage source(path());
    MonitorWindow window(source);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), monitorTitle(path(), {}, ZoomMode::actualSize));
    EXPECT_TRUE(window.view()->message().contains(QStringLiteral("testfile.bmp was not found")));
    EXPECT_TRUE(window.view()->image().isNull());

    movePointer(window, window.view()->viewport()->rect().center());
    EXPECT_TRUE(window.pixelText().isEmpty());
}

TEST_F(MonitorWindowTest, TitleFollowsTheZoomToggle) {
    ASSERT_TRUE(testPicture(QSize(312, 208), Qt::red).save(path(), "BMP"));
    WatchedImage source(path());
    MonitorWindow window(source);
    EXPECT_EQ(window.zoomMode(), ZoomMode::fitToWindow);
    EXPECT_TRUE(window.fitAction()->isChecked());
    EXPECT_EQ(window.windowTitle(), monitorTitle(path(), {312, 208}, ZoomMode::fitToWindow));

    window.fitAction()->trigger();
    EXPECT_EQ(window.zoomMode(), ZoomMode::actualSize);
    EXPECT_EQ(window.view()->zoomMode(), ZoomMode::actualSize);
    EXPECT_EQ(window.windowTitle(), monitorTitle(path(), {312, 208}, ZoomMode::actualSize));

    window.setZoomMode(ZoomMode::fitToWindow);
    EXPECT_TRUE(window.fitAction()->isChecked());
}

TEST_F(MonitorWindowTest, KeyFTogglesTheZoom) {
    ASSERT_TRUE(testPicture(QSize(30, 20), Qt::red).save(path(), "BMP"));
    WatchedImage source(path());
    MonitorWindow window(source);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(&window, Qt::Key_F);
    EXPECT_EQ(window.zoomMode(), ZoomMode::actualSize);
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(window.zoomMode(), ZoomMode::fitToWindow);
}

TEST_F(MonitorWindowTest, StatusBarReadsThePixelUnderThePointerInBothModes) {
    QImage picture = testPicture(QSize(40, 30), QColor(10, 20, 30));
    picture.setPixelColor(25, 7, QColor(200, 100, 34));
    ASSERT_TRUE(picture.save(path(), "BMP"));
    WatchedImage source(path());
    MonitorWindow window(source);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    for (const ZoomMode mode : {ZoomMode::fitToWindow, ZoomMode::actualSize}) {
        window.setZoomMode(mode);
        const ViewMapping mapping = window.view()->mapping();
        const QPointF overPixel =
            mapping.imageRect().topLeft() + QPointF(25.5, 7.5) * mapping.scale();
        movePointer(window, overPixel);
        EXPECT_EQ(window.pixelText(), QStringLiteral("x 25, y 7: R 200, G 100, B 34"));

        movePointer(window, mapping.imageRect().topLeft() - QPointF(1, 1));
        EXPECT_TRUE(window.pixelText().isEmpty()) << window.pixelText().toStdString();
    }
}

TEST_F(MonitorWindowTest, ChangedFileIsShownWithItsNewSize) {
    ASSERT_TRUE(testPicture(QSize(8, 6), Qt::red).save(path(), "BMP"));
    WatchedImage source(path(), 50ms);
    MonitorWindow window(source);
    ASSERT_TRUE(testPicture(QSize(16, 9), Qt::blue).save(path(), "BMP"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.view()->image().size() == QSize(16, 9); },
                                eventTimeoutMs));
    EXPECT_EQ(window.windowTitle(), monitorTitle(path(), {16, 9}, ZoomMode::fitToWindow));

    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.view()->image().isNull(); }, eventTimeoutMs));
    EXPECT_TRUE(window.view()->message().contains(QStringLiteral("was not found")));
}

} // namespace
} // namespace orvane
