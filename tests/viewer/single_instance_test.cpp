// One viewer per server name: hand-over of a request, and take-over of a stale name.
#include "viewer/single_instance.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "viewer/viewer_test_support.h"

namespace orvane {
namespace {

using testing::eventTimeoutMs;
using testing::uniqueServerName;

bool someoneListens(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(eventTimeoutMs);
}

// Leaves a socket file under the name with nobody listening, as a viewer that crashed does.
void leaveStaleSocket(const QString& name) {
    const QByteArray path = QFile::encodeName(QDir(QDir::tempPath()).filePath(name));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<size_t>(path.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    const int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::close(fd);
    ASSERT_EQ(bound, 0) << std::strerror(errno);
    ASSERT_TRUE(QFile::exists(QFile::decodeName(path)));
}

TEST(SingleInstance, FirstStartListens) {
    const QString name = uniqueServerName();
    SingleInstance first(name);
    EXPECT_EQ(first.start(QStringLiteral("open /a")), SingleInstance::Role::primary);
    EXPECT_TRUE(someoneListens(name));
}

TEST(SingleInstance, SecondStartHandsItsRequestToTheFirst) {
    const QString name = uniqueServerName();
    SingleInstance first(name);
    ASSERT_EQ(first.start(QStringLiteral("open /first")), SingleInstance::Role::primary);
    QSignalSpy received(&first, &SingleInstance::requestReceived);

    SingleInstance second(name);
    EXPECT_EQ(second.start(QStringLiteral("open /second")), SingleInstance::Role::secondary);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, eventTimeoutMs));
    EXPECT_EQ(received.at(0).at(0).toString(), QStringLiteral("open /second"));
}

TEST(SingleInstance, EveryLaterStartIsHeardOnceAndInOrder) {
    const QString name = uniqueServerName();
    SingleInstance first(name);
    ASSERT_EQ(first.start(QStringLiteral("open /first")), SingleInstance::Role::primary);
    QSignalSpy received(&first, &SingleInstance::requestReceived);

    for (int i = 0; i < 3; ++i) {
        SingleInstance later(name);
        // A line break inside a request must not split it in two.
        EXPECT_EQ(later.start(QStringLiteral("open /%1\nx").arg(i)),
                  SingleInstance::Role::secondary);
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == i + 1; }, eventTimeoutMs));
    }
    EXPECT_EQ(received.at(0).at(0).toString(), QStringLiteral("open /0 x"));
    EXPECT_EQ(received.at(2).at(0).toString(), QStringLiteral("open /2 x"));
}

TEST(SingleInstance, StaleServerNameIsTakenOver) {
    const QString name = uniqueServerName();
    leaveStaleSocket(name);
    ASSERT_FALSE(someoneListens(name));

    SingleInstance revived(name);
    EXPECT_EQ(revived.start(QStringLiteral("open /a")), SingleInstance::Role::primary);
    QSignalSpy received(&revived, &SingleInstance::requestReceived);
    SingleInstance later(name);
    EXPECT_EQ(later.start(QStringLiteral("open /b")), SingleInstance::Role::secondary);
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, eventTimeoutMs));
}

TEST(SingleInstance, NameIsFreeAgainWhenTheRunningOneEnds) {
    const QString name = uniqueServerName();
    {
        SingleInstance first(name);
        ASSERT_EQ(first.start(QStringLiteral("open /a")), SingleInstance::Role::primary);
    }
    SingleInstance next(name);
    EXPECT_EQ(next.start(QStringLiteral("open /b")), SingleInstance::Role::primary);
}

} // namespace
} // namespace orvane
