// Helpers for the viewer tests: unique server names, picture files and a bound on waiting.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QUuid>

namespace orvane::testing {

// Longest wait for something the event loop delivers (file changes, socket data).
constexpr int eventTimeoutMs = 5000;

// A server name no other test or running viewer uses.
inline QString uniqueServerName() {
    return QStringLiteral("orvane-monitor-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

// A picture of one colour with a distinct top-left pixel, so orientation mistakes show.
inline QImage testPicture(QSize size, QColor fill) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    image.setPixelColor(0, 0, QColor(1, 2, 3));
    return image;
}

} // namespace orvane::testing
