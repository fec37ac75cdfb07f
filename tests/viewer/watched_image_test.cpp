// Loading the picture file, the messages for a missing or unreadable file, and reloads on change.
#include "viewer/watched_image.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>

#include "viewer/viewer_test_support.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using testing::eventTimeoutMs;
using testing::testPicture;

class WatchedImageTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    QString path(const QString& name = QStringLiteral("testfile.bmp")) const {
        return folder_.filePath(name);
    }

    // Writes a new file beside the picture and renames it over the picture, as a careful writer
    // does: the watched file is replaced, not rewritten.
    void replacePicture(const QImage& image) const {
        const QString staged = path(QStringLiteral("staged.bmp"));
        ASSERT_TRUE(image.save(staged, "BMP"));
        ASSERT_EQ(std::rename(QFile::encodeName(staged).constData(),
                              QFile::encodeName(path()).constData()),
                  0);
    }

    QTemporaryDir folder_;
};

TEST_F(WatchedImageTest, LoadsTheFileAtOnce) {
    ASSERT_TRUE(testPicture(QSize(8, 6), Qt::red).save(path(), "BMP"));
    const WatchedImage watched(path());
    EXPECT_EQ(watched.filePath(), path());
    EXPECT_EQ(watched.image().size(), QSize(8, 6));
    EXPECT_EQ(watched.image().pixelColor(0, 0), QColor(1, 2, 3));
    EXPECT_EQ(watched.image().pixelColor(7, 5), QColor(Qt::red));
    EXPECT_TRUE(watched.problem().isEmpty());
}

TEST_F(WatchedImageTest, MissingFileGivesAMessageNamingIt) {
    const WatchedImage watched(path());
    EXPECT_TRUE(watched.image().isNull());
    EXPECT_TRUE(watched.problem().contains(QStringLiteral("testfile.bmp was not found")))
        << watched.problem().toStdString();
}

TEST_F(WatchedImageTest, UnreadableFileGivesAMessage) {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM this is not a picture");
    file.close();
    const WatchedImage watched(path());
    EXPECT_TRUE(watched.image().isNull());
    EXPECT_TRUE(watched.problem().contains(QStringLiteral("testfile.bmp is not a readable image")))
        << watched.problem().toStdString();
}

TEST_F(WatchedImageTest, RelativePathIsTakenFromTheWorkingDirectory) {
    const WatchedImage watched(QStringLiteral("testfile.bmp"));
    EXPECT_EQ(watched.filePath(), QDir::current().absoluteFilePath(QStringLiteral("testfile.bmp")));
}

TEST_F(WatchedImageTest, FileRewrittenInPlaceIsReloaded) {
    ASSERT_TRUE(testPicture(QSize(8, 6), Qt::red).save(path(), "BMP"));
    WatchedImage watched(path(), 50ms);
    QSignalSpy reloads(&watched, &WatchedImage::reloaded);

    ASSERT_TRUE(testPicture(QSize(10, 4), Qt::blue).save(path(), "BMP"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return watched.image().size() == QSize(10, 4); }, eventTimeoutMs));
    EXPECT_EQ(watched.image().pixelColor(9, 3), QColor(Qt::blue));
    EXPECT_GE(reloads.count(), 1);
}

TEST_F(WatchedImageTest, FileReplacedTwiceIsReloadedBothTimes) {
    ASSERT_TRUE(testPicture(QSize(8, 6), Qt::red).save(path(), "BMP"));
    WatchedImage watched(path(), 50ms);

    replacePicture(testPicture(QSize(10, 4), Qt::blue));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return watched.image().size() == QSize(10, 4); }, eventTimeoutMs));
    // The replaced file dropped out of the watch; the second replacement must still be seen.
    replacePicture(testPicture(QSize(3, 12), Qt::green));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return watched.image().size() == QSize(3, 12); }, eventTimeoutMs));
    EXPECT_EQ(watched.image().pixelColor(2, 11), QColor(Qt::green));
}

TEST_F(WatchedImageTest, FileCreatedLaterReplacesTheMessage) {
    WatchedImage watched(path(), 50ms);
    ASSERT_TRUE(watched.image().isNull());

    ASSERT_TRUE(testPicture(QSize(5, 5), Qt::yellow).save(path(), "BMP"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watched.image().isNull(); }, eventTimeoutMs));
    EXPECT_EQ(watched.image().size(), QSize(5, 5));
    EXPECT_TRUE(watched.problem().isEmpty());
}

TEST_F(WatchedImageTest, FileRemovedShowsTheMessage) {
    ASSERT_TRUE(testPicture(QSize(5, 5), Qt::yellow).save(path(), "BMP"));
    WatchedImage watched(path(), 50ms);
    ASSERT_FALSE(watched.image().isNull());

    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return watched.image().isNull(); }, eventTimeoutMs));
    EXPECT_TRUE(watched.problem().contains(QStringLiteral("was not found")));
}

TEST_F(WatchedImageTest, BurstOfChangesGivesOneReload) {
    ASSERT_TRUE(testPicture(QSize(8, 6), Qt::red).save(path(), "BMP"));
    WatchedImage watched(path(), 500ms);
    QSignalSpy reloads(&watched, &WatchedImage::reloaded);

    // The first write is seen but not read yet: the file may still be being written.
    ASSERT_TRUE(testPicture(QSize(1, 2), Qt::cyan).save(path(), "BMP"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return watched.reloadPending(); }, eventTimeoutMs));
    EXPECT_EQ(reloads.count(), 0);
    // The rest of the burst comes while the first change is still settling.
    for (int width = 2; width <= 5; ++width) {
        ASSERT_TRUE(testPicture(QSize(width, 2), Qt::cyan).save(path(), "BMP"));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return reloads.count() >= 1 && !watched.reloadPending(); },
                                eventTimeoutMs));
    EXPECT_EQ(reloads.count(), 1);
    EXPECT_EQ(watched.image().size(), QSize(5, 2));
}

TEST_F(WatchedImageTest, OtherFilesInTheFolderDoNotReload) {
    ASSERT_TRUE(testPicture(QSize(8, 6), Qt::red).save(path(), "BMP"));
    WatchedImage watched(path(), 10ms);
    QSignalSpy reloads(&watched, &WatchedImage::reloaded);

    QFile raw(path(QStringLiteral("test.raw")));
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write(QByteArray(1000, '\x55'));
    raw.close();
    // A marker picture after the raw file, seen only after a longer quiet time: once it is
    // loaded, a reload caused by the raw file would have happened.
    const QString markerPath = path(QStringLiteral("marker.bmp"));
    WatchedImage marker(markerPath, 200ms);
    ASSERT_TRUE(testPicture(QSize(2, 2), Qt::white).save(markerPath, "BMP"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !marker.image().isNull(); }, eventTimeoutMs));

    EXPECT_EQ(reloads.count(), 0);
    EXPECT_FALSE(watched.reloadPending());
}

TEST_F(WatchedImageTest, SwitchingFilesLoadsAndWatchesTheNewOne) {
    ASSERT_TRUE(testPicture(QSize(8, 6), Qt::red).save(path(), "BMP"));
    QTemporaryDir otherFolder;
    ASSERT_TRUE(otherFolder.isValid());
    const QString otherPath = otherFolder.filePath(QStringLiteral("testfile.bmp"));
    ASSERT_TRUE(testPicture(QSize(4, 4), Qt::magenta).save(otherPath, "BMP"));

    WatchedImage watched(path(), 50ms);
    watched.setFilePath(otherPath);
    EXPECT_EQ(watched.filePath(), otherPath);
    EXPECT_EQ(watched.image().size(), QSize(4, 4));

    ASSERT_TRUE(testPicture(QSize(6, 2), Qt::magenta).save(otherPath, "BMP"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return watched.image().size() == QSize(6, 2); }, eventTimeoutMs));
}

} // namespace
} // namespace orvane
