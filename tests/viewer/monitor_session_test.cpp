// Starting the viewer: the first start shows the window, a later one hands over and ends.
#include "viewer/monitor_session.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "viewer/image_view.h"
#include "viewer/monitor_channel.h"
#include "viewer/monitor_window.h"
#include "viewer/viewer_test_support.h"

namespace orvane {
namespace {

using testing::eventTimeoutMs;
using testing::testPicture;
using testing::uniqueServerName;

TEST(OpenRequest, CarriesTheAbsolutePath) {
    const QString request = openRequest(QStringLiteral("testfile.bmp"));
    EXPECT_EQ(requestedFile(request),
              QDir::current().absoluteFilePath(QStringLiteral("testfile.bmp")));
    EXPECT_EQ(requestedFile(QStringLiteral("open /tmp/a b.bmp")), QStringLiteral("/tmp/a b.bmp"));
    EXPECT_EQ(requestedFile(QStringLiteral("open ")), std::nullopt);
    EXPECT_EQ(requestedFile(QStringLiteral("close /tmp/a.bmp")), std::nullopt);
    EXPECT_EQ(requestedFile(QString()), std::nullopt);
}

TEST(MonitorChannel, OnePerDisplayAndWorkingDirectory) {
    EXPECT_EQ(channelDisplay(":0", "wayland-0", "xcb"), QStringLiteral(":0"));
    EXPECT_EQ(channelDisplay("", "wayland-0", "wayland"), QStringLiteral("wayland-0"));
    EXPECT_EQ(channelDisplay("", "", "offscreen"), QStringLiteral("qpa:offscreen"));
    const QString name = channelName(":0", "/home/me/run");
    EXPECT_EQ(channelName(":0", "/home/me/run"), name);
    EXPECT_NE(channelName(":1", "/home/me/run"), name);
    EXPECT_NE(channelName(":0", "/home/me/run2"), name);
}

// Each case: runtime folder, user, a fallback folder made first, the channel or "" when refused.
TEST(MonitorChannel, LivesWhereOnlyTheUserCanReachIt) {
    QTemporaryDir root;
    const QString runtime = root.filePath("runtime"), tmp = root.filePath("tmp");
    const QString fallback = tmp + "/orvane-%1";
    const uid_t me = ::geteuid();
    ASSERT_EQ(::mkdir(qPrintable(runtime), 0700) | ::mkdir(qPrintable(tmp), 0), 0);
    ::chmod(qPrintable(tmp), 0755); // others may enter, whatever the umask
    const std::tuple<QString, uid_t, mode_t, QString> cases[] = {
        {"", me, 0755, ""},                       // a fallback others can enter
        {runtime, me, 0, runtime + "/c"},         // a private runtime folder
        {tmp, me, 0700, fallback.arg(me) + "/c"}, // a runtime folder others can enter
        {"", me, 0, fallback.arg(me) + "/c"},     // none: a new fallback, 0700 or refused
        {runtime, me + 1, 0, ""},                 // folders of someone else
    };
    for (const auto& [runtimeDir, uid, fallbackMode, path] : cases) {
        QDir(fallback.arg(uid)).removeRecursively();
        if (fallbackMode != 0) {
            const QByteArray made = QFile::encodeName(fallback.arg(uid));
            ASSERT_EQ(::mkdir(made.constData(), 0) | ::chmod(made.constData(), fallbackMode), 0);
        }
        EXPECT_EQ(privateChannelPath(uid, runtimeDir, tmp, "c").path, path);
    }
    QFile(runtime + "/c").open(QIODevice::WriteOnly); // not a socket where the channel goes
    EXPECT_TRUE(privateChannelPath(me, runtime, tmp, "c").path.isEmpty());
}

class MonitorSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(testPicture(QSize(8, 6), Qt::red).save(path(), "BMP"));
    }

    QString path() const { return folder_.filePath(QStringLiteral("testfile.bmp")); }

    QTemporaryDir folder_;
    const QString serverName_ = uniqueServerName();
};

TEST_F(MonitorSessionTest, FirstStartShowsTheWindow) {
    MonitorSession first(serverName_, path());
    ASSERT_EQ(first.start(), MonitorSession::Outcome::running);
    ASSERT_NE(first.window(), nullptr);
    EXPECT_TRUE(first.window()->isVisible());
    EXPECT_EQ(first.window()->view()->image().size(), QSize(8, 6));
}

TEST_F(MonitorSessionTest, MissingFileStartsWithTheMessage) {
    MonitorSession first(serverName_, folder_.filePath(QStringLiteral("absent.bmp")));
    ASSERT_EQ(first.start(), MonitorSession::Outcome::running);
    EXPECT_TRUE(first.window()->view()->image().isNull());
    EXPECT_TRUE(first.window()->view()->message().contains(QStringLiteral("absent.bmp")));
}

TEST_F(MonitorSessionTest, SecondStartMakesTheFirstReloadAndComeToFront) {
    MonitorSession first(serverName_, path());
    ASSERT_EQ(first.start(), MonitorSession::Outcome::running);
    first.window()->showMinimized();
    QSignalSpy reloads(first.image(), &WatchedImage::reloaded);

    MonitorSession second(serverName_, path());
    EXPECT_EQ(second.start(), MonitorSession::Outcome::handedOver);
    EXPECT_EQ(second.window(), nullptr);
    EXPECT_EQ(second.image(), nullptr);

    ASSERT_TRUE(QTest::qWaitFor([&] { return reloads.count() == 1; }, eventTimeoutMs));
    EXPECT_FALSE(first.window()->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(first.window()->isVisible());
}

TEST_F(MonitorSessionTest, StartFromAnotherFolderSwitchesToItsPicture) {
    MonitorSession first(serverName_, path());
    ASSERT_EQ(first.start(), MonitorSession::Outcome::running);

    QTemporaryDir otherFolder;
    ASSERT_TRUE(otherFolder.isValid());
    const QString otherPath = otherFolder.filePath(QStringLiteral("testfile.bmp"));
    ASSERT_TRUE(testPicture(QSize(3, 7), Qt::green).save(otherPath, "BMP"));

    MonitorSession second(serverName_, otherPath);
    EXPECT_EQ(second.start(), MonitorSession::Outcome::handedOver);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return first.window()->view()->image().size() == QSize(3, 7); }, eventTimeoutMs));
    EXPECT_EQ(first.image()->filePath(), otherPath);
}

TEST_F(MonitorSessionTest, RunMonitorEndsWithStatusZeroWhenAViewerRuns) {
    MonitorSession first(serverName_, path());
    ASSERT_EQ(first.start(), MonitorSession::Outcome::running);
    QSignalSpy reloads(first.image(), &WatchedImage::reloaded);

    // Should runMonitor wrongly start an event loop of its own, this ends it with another status.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(eventTimeoutMs);

    EXPECT_EQ(runMonitor(serverName_, path()), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloads.count() == 1; }, eventTimeoutMs));
}

} // namespace
} // namespace orvane
