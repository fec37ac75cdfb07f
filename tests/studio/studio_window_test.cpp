// The studio's main window without a worker: its title, keys and toolbar actions, and what a
// frame and the dialog's answers turn into.
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include "image/temp_directory.h"
#include "studio/controls_dock.h"
#include "studio/histogram_view.h"
#include "studio/picture_view.h"
#include "studio/studio_window.h"

namespace orvane {
namespace {

TEST(StudioWindow, KeysPauseSnapshotAndQuitAndAFrameFillsPictureAndHistogram) {
    testing::TempDirectory directory;
    const QString path = QString::fromStdString(directory.path().string());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    qputenv("ORVANE_WORKING_FOLDER", path.toLocal8Bit()); // as the menu launcher sets it
    StudioWindow window{QDir(path)};
    qunsetenv("ORVANE_WORKING_FOLDER");
    EXPECT_EQ(window.statusBar()->currentMessage(), "Working folder: " + path);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), "Orvane Studio");
    QSignalSpy running(&window, &StudioWindow::runningChanged);
    QSignalSpy shown(&window, &StudioWindow::frameShown);
    QSignalSpy quit(&window, &StudioWindow::quitRequested);

    StudioFrame frame;
    frame.number = 7;
    frame.image = QImage(4, 2, QImage::Format_RGB32);
    frame.image.fill(qRgb(255, 0, 9));
    frame.raw = QByteArray(20, '\x05');
    frame.info.width = 4;
    frame.info.height = 2;
    frame.info.linesRead = 2;
    frame.info.bytesPerLine = 10;
    frame.histogram.counts[0][255] = 8;
    window.showFrame(frame);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(window.pictureView()->image(), frame.image);
    EXPECT_EQ(window.histogramView()->histogram().clippedHigh(HistogramChannel::red), 8u);

    window.pictureView()->setFocus();
    QTest::keyClick(&window, Qt::Key_Space);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(running.size(), 1);
    EXPECT_FALSE(running.at(0).at(0).toBool());
    EXPECT_TRUE(QFileInfo::exists(path + "/snapshot-0001.png"));
    EXPECT_TRUE(QFileInfo::exists(path + "/snapshot-0001.raw"));
    EXPECT_EQ(window.statusBar()->currentMessage(),
              "Saved snapshot-0001.png and snapshot-0001.raw");

    EXPECT_FALSE(window.openSettings("/dev/null")); // a device, not a settings file
    window.showStatus("Improper range: Vertical Window Setting will NOT set");
    EXPECT_EQ(window.statusBar()->currentMessage(),
              "Improper range: Vertical Window Setting will NOT set");
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quit.size(), 1);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace orvane
