// FrameMailbox: the one frame waiting for the window. The worker puts each frame in, replacing
// one the window has not taken; the window takes what is there. Nothing queues, so the window
// always shows the newest frame and a window that falls behind only skips frames. The window
// learns of a frame from a descriptor it watches, not from an event posted across threads.
#pragma once

#include <QtGlobal>

#include <mutex>
#include <optional>

#include "studio_frame.h"

class QObject;
class QSocketNotifier;

namespace orvane {

class FrameMailbox {
public:
    FrameMailbox();
    ~FrameMailbox();
    FrameMailbox(const FrameMailbox&) = delete;
    FrameMailbox& operator=(const FrameMailbox&) = delete;

    // Fires activated on parent's thread while a frame waits; it belongs to parent.
    QSocketNotifier* watch(QObject* parent) const;

    // True when the box was empty, so the window is told. The first rows of a frame still
    // arriving never replace a complete frame waiting: that one is shown first.
    bool put(StudioFrame frame);
    // The frame waiting, if any; the box is empty after.
    std::optional<StudioFrame> take();
    // Complete frames replaced before the window took them.
    quint64 skipped() const;

    // The window gives back a frame it no longer shows, so the worker can capture into its
    // image and bytes again; handing them over here orders the window's last read before the
    // worker's next write.
    void giveBack(StudioFrame frame);
    // A frame given back, if there is one.
    std::optional<StudioFrame> spare();

private:
    int ready_ = -1; // an eventfd, readable while a frame waits
    mutable std::mutex mutex_;
    std::optional<StudioFrame> frame_;
    std::optional<StudioFrame> spare_;
    quint64 skipped_ = 0;
};

} // namespace orvane
