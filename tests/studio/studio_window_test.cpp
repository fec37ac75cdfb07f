// The studio's main window without a worker: its title, keys and toolbar actions, and what a
// frame and the dialog's answers turn into.
#include <QApplication>
#include <QDataStream>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "image/temp_directory.h"
#include "studio/controls_dock.h"
#include "studio/frame_mailbox.h"
#include "studio/histogram_view.h"
#include "studio/picture_view.h"
#include "studio/studio_window.h"

namespace orvane {
namespace {

TEST(StudioWindow, KeysPauseSnapshotAndQuitAndAFrameFillsPictureAndHistogram) {
    testing::TempDirectory directory;
    const QString path = QString::fromStdString(directory.path().string());
    qputenv("XDG_CONFIG_HOME", path.toLocal8Bit());
    qputenv("ORVANE_WORKING_FOLDER", path.toLocal8Bit()); // as the menu launcher sets it
    StudioWindow window{QDir(path)};
    qunsetenv("ORVANE_WORKING_FOLDER");
    EXPECT_EQ(window.statusBar()->currentMessage(), "Working folder: " + path);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), "Orvane Studio");
    QSignalSpy running(&window, &StudioWindow::runningChanged);
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
    // Through the mailbox: a frame's first rows, then the whole of it; the one shown before it
    // goes back for the worker to fill again.
    FrameMailbox mailbox;
    StudioFrame arriving;
    arriving.arrivingOf = 2;
    arriving.image = frame.image.copy(0, 0, 4, 1);
    mailbox.put(arriving);
    window.takeFrame(mailbox);
    EXPECT_EQ(window.pictureView()->rowsArrived(), 1);
    EXPECT_EQ(window.framesShown(), 0u);
    mailbox.put(frame);
    EXPECT_FALSE(mailbox.put(arriving)) << "the rows of a later frame wait for this one";
    window.takeFrame(mailbox);
    EXPECT_EQ(window.framesShown(), 1u);
    EXPECT_EQ(window.pictureView()->rowsArrived(), 0);
    EXPECT_EQ(window.pictureView()->image(), frame.image);
    EXPECT_TRUE(mailbox.spare().has_value());
    EXPECT_EQ(window.histogramView()->histogram().clippedHigh(HistogramChannel::red), 8u);

    window.pictureView()->setFocus();
    QTest::keyClick(&window, Qt::Key_Space);
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(running.size(), 1);
    EXPECT_FALSE(running.at(0).at(0).toBool());
    EXPECT_TRUE(QFileInfo::exists(path + "/snapshot-0001.png"));
    EXPECT_TRUE(QFileInfo::exists(path + "/snapshot-0001.raw"));
    EXPECT_EQ(window.statusBar()->currentMessage(),
              "Saved snapshot-0001.png and snapshot-0001.raw in " + QDir(path).absolutePath());
    // Paused: the size and format stay, the rate gives way to the word.
    const QString figures = window.statusBar()->findChildren<QLabel*>().last()->text();
    EXPECT_TRUE(figures.startsWith("4 x 2 YUV 4:2:2  Paused  frame 7")) << figures.toStdString();

    EXPECT_FALSE(window.openSettings("/dev/null")); // a device, not a settings file
    window.showStatus("Improper range: Vertical Window Setting will NOT set");
    EXPECT_EQ(window.statusBar()->currentMessage(),
              "Improper range: Vertical Window Setting will NOT set");
    // A note wider than the status bar is shown whole as well.
    const QString longNote = QString("refused: ").repeated(40);
    window.showStatus(longNote);
    const auto labels = window.centralWidget()->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](const QLabel* label) {
        return label->isVisible() && label->text() == longNote && label->wordWrap();
    }));
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quit.size(), 1);
    EXPECT_FALSE(window.isVisible());
}

// The settings a session ends with are asked for at the next start, unless it starts from the
// defaults; a profile that holds what is in force asks for nothing.
TEST(StudioWindow, SettingsSurviveARestartAndProfilesAskOnlyForWhatDiffers) {
    testing::TempDirectory directory;
    const QString path = QString::fromStdString(directory.path().string());
    qputenv("XDG_CONFIG_HOME", path.toLocal8Bit());
    const ControlValues defaults{{"brightness", 128}, {"contrast", 0}};
    {
        StudioWindow window{QDir(path)};
        window.showControls({{"brightness", 150}, {"contrast", 0}});
        window.close();
    }
    for (const bool fromDefaults : {false, true}) {
        StudioWindow window{QDir(path)};
        QSignalSpy asked(&window, &StudioWindow::settingsRequested);
        window.startWith(defaults, fromDefaults);
        ASSERT_EQ(asked.size(), fromDefaults ? 0 : 1);
        if (!fromDefaults) {
            EXPECT_EQ(asked.at(0).at(0).value<ControlChanges>().front(),
                      (ControlChange{"brightness", 150}));
        }
        ASSERT_TRUE(QDir().mkpath(window.profilesFolder()));
        EXPECT_TRUE(window.saveSettings(window.profilesFolder() + "/same.txt"));
        EXPECT_TRUE(window.openSettings(window.profilesFolder() + "/same.txt"));
        EXPECT_EQ(asked.size(), fromDefaults ? 0 : 1);
        window.close();
    }
}

// A recording of every frame stops at its count with whole files; a time-lapse takes one frame
// an interval; a folder that goes away stops the recording, naming the file.
TEST(StudioWindow, RecordingsLeaveWholeFramesWithTheirSettings) {
    testing::TempDirectory directory;
    const QString path = QString::fromStdString(directory.path().string());
    qputenv("XDG_CONFIG_HOME", path.toLocal8Bit());
    StudioWindow window{QDir(path)};
    window.showControls({{"brightness", 150}});
    StudioFrame frame;
    frame.image = QImage(6, 4, QImage::Format_RGB32);
    frame.image.fill(qRgb(10, 200, 30));
    frame.raw = QByteArray(40, '\x07');
    const struct {
        qint64 intervalMs, limit;
        int shown, expected;
        bool removeFolder;
    } cases[] = {{0, 20, 25, 20, false}, {60'000, 0, 5, 1, false}, {0, 0, 3, 0, true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(window.startRecording({path, c.intervalMs, c.limit}));
        const QString folder = window.recording().folder();
        if (c.removeFolder) {
            ASSERT_TRUE(QDir(folder).removeRecursively() &&
                        QFile(folder).open(QIODevice::WriteOnly));
        }
        for (int i = 0; i < c.shown; ++i)
            window.showFrame(frame);
        window.stopRecording();
        const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        EXPECT_EQ(files.size(), 3 * c.expected) << files.join(' ').toStdString();
        for (int n = 1; n <= c.expected; ++n) {
            const QString base = folder + QString("/frame-%1").arg(n, 4, 10, QChar('0'));
            EXPECT_EQ(QImage(base + ".png").convertToFormat(QImage::Format_RGB32), frame.image);
            QFile sidecar(base + ".txt");
            ASSERT_TRUE(sidecar.open(QIODevice::ReadOnly));
            EXPECT_TRUE(sidecar.readAll().contains("brightness = 150"));
        }
        if (c.removeFolder) {
            EXPECT_TRUE(window.statusBar()->currentMessage().startsWith(
                "Recording stopped after 0 frames: " + folder + "/frame-0001.png"))
                << window.statusBar()->currentMessage().toStdString();
        }
    }
    EXPECT_TRUE(window.startRecording({path + "/typed/new", 0, 1})) << "a new folder is made";
    window.stopRecording();
    QFile plain(path + "/plain");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_FALSE(window.startRecording({path + "/plain/under", 0, 1}));
}

// Shift and a drag select a rectangle of pixels; the status bar gives its per-channel mean,
// minimum and maximum.
TEST(StudioWindow, AShiftDragSelectsARegionWithItsChannelStatistics) {
    testing::TempDirectory directory;
    const QString path = QString::fromStdString(directory.path().string());
    qputenv("XDG_CONFIG_HOME", path.toLocal8Bit());
    StudioWindow window{QDir(path)};
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    StudioFrame frame;
    frame.image = QImage(8, 4, QImage::Format_RGB32);
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 4; ++y)
            frame.image.setPixel(x, y, x < 4 ? qRgb(10, 20, 30) : qRgb(200, 100, 0));
    }
    window.showFrame(frame);
    PictureView* picture = window.pictureView();
    const QRectF rect = picture->imageRect();
    const auto at = [&](double x, double y) {
        return rect.topLeft() +
               QPointF((x + 0.5) * rect.width() / 8, (y + 0.5) * rect.height() / 4);
    };
    QMouseEvent press(QEvent::MouseButtonPress, at(2, 1), picture->mapToGlobal(at(2, 1)),
                      Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QMouseEvent move(QEvent::MouseMove, at(5, 2), picture->mapToGlobal(at(5, 2)), Qt::NoButton,
                     Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(picture, &press);
    QApplication::sendEvent(picture, &move);
    EXPECT_EQ(picture->selection(), QRect(QPoint(2, 1), QPoint(5, 2)));
    const QString expected =
        "Selection 4 x 2 at (2, 1):  R 105.0 (10-200)  G 60.0 (20-100)  B 15.0 (0-30)";
    const auto labels = window.statusBar()->findChildren<QLabel*>();
    const auto shown = [&](const QString& text) {
        return std::any_of(labels.begin(), labels.end(),
                           [&](const QLabel* label) { return label->text() == text; });
    };
    EXPECT_TRUE(shown(expected));
    // The noise counts the frames since the selection: the same picture, then one whose left
    // half's red moves by 4, so half the selection varies.
    window.showFrame(frame);
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y)
            frame.image.setPixel(x, y, qRgb(14, 20, 30));
    }
    window.showFrame(frame);
    EXPECT_TRUE(shown("Selection 4 x 2 at (2, 1):  R 107.0 (14-200)  G 60.0 (20-100)  B 15.0 (0-30)"
                      "  |  noise over 2 frames:  R 2.00 (34.6 dB)  G 0.00 (no noise)  B 0.00 "
                      "(no noise)"));
}

// On the simulated module the Camera menu shows the scene and light in use, and a choice asks for
// the device with it, the other parameters kept.
TEST(StudioWindow, TheCameraMenuSwitchesTheSimulatedScenesAndLight) {
    testing::TempDirectory directory;
    StudioWindow window{QDir(QString::fromStdString(directory.path().string()))};
    window.offerScenes("sim:seed=7,lux=25");
    QSignalSpy asked(&window, &StudioWindow::deviceRequested);
    const auto action = [&](const QString& text) {
        for (QAction* found : window.findChildren<QAction*>())
            if (found->text() == text)
                return found;
        return static_cast<QAction*>(nullptr);
    };
    ASSERT_TRUE(action("&Test card") && action("D&im room (25 lux)") && action("&Colour chart"));
    EXPECT_TRUE(action("&Test card")->isChecked() && action("D&im room (25 lux)")->isChecked());
    action("&Colour chart")->trigger();
    action("&Office (100 lux)")->trigger();
    EXPECT_TRUE(action("&Colour chart")->isChecked() && !action("&Test card")->isChecked());
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0][0].toString(), "sim:seed=7,lux=25,scene=chart");
    EXPECT_EQ(asked[1][0].toString(), "sim:seed=7,scene=chart,lux=100");
}

// Counts on the plot's height: a rare level stays visible on the log scale, none is drawn above
// the top.
TEST(HistogramView, CountsTakeTheirShareOfTheHeight) {
    const struct {
        uint32_t count, highest;
        bool log;
        double low, high;
    } cases[] = {{0, 100, false, 0, 0},       {50, 100, false, 0.5, 0.5},
                 {1, 1000, false, 0, 0.0011}, {1, 1000, true, 0.09, 0.11},
                 {900, 100, true, 1, 1},      {5000, 100, false, 1, 1}};
    for (const auto& c : cases) {
        const double height = HistogramView::heightOf(c.count, c.highest, c.log);
        EXPECT_TRUE(height >= c.low && height <= c.high) << c.count << " " << height;
    }
}

// Zooming in and out about a point keeps the pixel under it; 1:1 and panning keep the picture in
// view.
TEST(StudioWindow, ZoomAboutThePointerKeepsItsPixel) {
    PictureView view;
    view.resize(400, 300);
    QImage image(312, 208, QImage::Format_RGB32);
    view.setImage(image);
    for (const QPointF anchor : {QPointF(200, 150), QPointF(61.5, 88), QPointF(330, 240)}) {
        const std::optional<QPoint> before = view.pixelAt(anchor);
        for (const double factor : {1.25, 1.25, 4.0, 0.5, 1.0 / 1.25})
            view.zoomAt(factor, anchor);
        EXPECT_EQ(view.pixelAt(anchor), before) << anchor.x() << ", " << anchor.y();
    }
    view.setZoom(1.0);
    EXPECT_TRUE(QRectF(0, 0, 400, 300).intersects(view.imageRect()));
    EXPECT_EQ(view.imageRect().center(), QPointF(200, 150));
}

// A geometry as saveGeometry writes it, for a window of the given size.
QByteArray savedGeometry(int width, int height) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    const QRect rect(0, 0, width, height);
    stream << quint32(0x1D9D0CB) << quint16(3) << quint16(0) << rect << rect << qint32(0)
           << quint8(0) << quint8(0) << qint32(800) << rect;
    return bytes;
}

// Settings files another program or a hostile hand left: the window starts at once from what it
// can use, fits the screen and keeps at most eight recent files.
TEST(StudioWindow, HostileSettingsFilesGiveAWindowThatFitsTheScreen) {
    const QByteArray hugeGeometry = savedGeometry(2000000000, 2000000000);
    QWidget probe;
    ASSERT_TRUE(probe.restoreGeometry(hugeGeometry)); // Qt alone takes it
    ASSERT_GT(probe.width(), probe.screen()->availableGeometry().width());

    const struct {
        const char* name;
        std::function<void(const QString&)> write;
        const char* note; // what the status bar says; empty: nothing
        int recent;
    } cases[] = {
        {"huge geometry and a long recent list",
         [&](const QString& file) {
             QSettings settings(file, QSettings::NativeFormat);
             settings.setValue("geometry", hugeGeometry);
             QStringList recent;
             for (int i = 0; i < 20000; ++i)
                 recent.append(QString("/s%1").arg(i));
             settings.setValue("recentFiles", recent);
         },
         "", 8},
        {"a pipe", [](const QString& file) { ::mkfifo(qPrintable(file), 0600); },
         "is not a regular file", 0},
        {"a huge file",
         [](const QString& file) {
             QFile out(file);
             ASSERT_TRUE(out.open(QIODevice::WriteOnly));
             out.write("[General]\nrecentFiles=" + QByteArray(300000, 'x') + "\n");
         },
         "is larger than any settings", 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        testing::TempDirectory directory;
        const QString path = QString::fromStdString(directory.path().string());
        ASSERT_TRUE(QDir(path).mkpath("Orvane"));
        test.write(path + "/Orvane/orvane-studio.conf");
        qputenv("XDG_CONFIG_HOME", path.toLocal8Bit());
        StudioWindow window{QDir(path)};
        EXPECT_LE(window.width(), window.screen()->availableGeometry().width());
        EXPECT_LE(window.height(), window.screen()->availableGeometry().height());
        EXPECT_TRUE(window.statusBar()->currentMessage().contains(test.note))
            << window.statusBar()->currentMessage().toStdString();
        qsizetype recent = -1;
        for (QMenu* menu : window.findChildren<QMenu*>()) {
            if (menu->title() == "Open &recent")
                recent = menu->actions().size();
        }
        EXPECT_EQ(recent, test.recent);
    }
}

} // namespace
} // namespace orvane
