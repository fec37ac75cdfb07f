// FrameFigures: the status bar's figures of the live picture: its size, format, rate and the
// time each frame took, the pixel under the pointer, and the selection's statistics and noise.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QStatusBar>

#include <deque>
#include <optional>

#include "studio_frame.h"
#include "temporal_noise.h"

namespace orvane {

class FrameFigures final : public QObject {
public:
    // Adds its labels to bar. frame is the one shown, which the window keeps and outlives this.
    FrameFigures(QStatusBar* bar, const StudioFrame& frame);

    // The frame shown took displayMilliseconds; the figures follow at most every quarter second.
    void frameShown(double displayMilliseconds);
    // "Paused" instead of a rate that no longer holds, at once.
    void setPaused(bool paused);
    void showPixel(std::optional<QPoint> pixel);
    // The selection's statistics; with frameShown, its noise over the last frames too.
    void showSelection(const QRect& selection, bool frameShown = false);
    void showZoom(double zoom, bool fitting);
    // The width the figures take in the bar, which a note must leave them.
    int width() const;

private:
    void update(bool now);

    const StudioFrame& frame_;
    QLabel* selection_;
    QLabel* pixel_;
    QLabel* zoom_;
    QLabel* figures_;
    TemporalNoise noise_;
    std::deque<qint64> frameTimes_; // ms of the frames of the last second
    QElapsedTimer clock_;
    qint64 lastFigures_ = -1000;
    double displayMilliseconds_ = 0;
    bool paused_ = false;
    std::optional<QPoint> pointer_;
};

} // namespace orvane
