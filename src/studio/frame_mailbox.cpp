// The window's one-frame mailbox.
#include "studio/frame_mailbox.h"

#include <utility>

namespace orvane {

bool FrameMailbox::put(StudioFrame frame) {
    StudioFrame replaced;
    bool wasEmpty = false;
    {
        const std::lock_guard lock(mutex_);
        wasEmpty = !frame_.has_value();
        if (!wasEmpty && frame_->complete() && !frame.complete())
            return false;
        if (!wasEmpty && frame_->complete()) {
            ++skipped_;
            // The window never saw it: the worker may fill it again at once.
            if (!spare_)
                spare_ = std::move(frame_);
        }
        if (frame_)
            replaced = std::move(*frame_);
        frame_ = std::move(frame);
    }
    // The frame replaced lets go of its image outside the lock.
    return wasEmpty;
}

std::optional<StudioFrame> FrameMailbox::take() {
    const std::lock_guard lock(mutex_);
    return std::exchange(frame_, std::nullopt);
}

quint64 FrameMailbox::skipped() const {
    const std::lock_guard lock(mutex_);
    return skipped_;
}

void FrameMailbox::giveBack(StudioFrame frame) {
    const std::lock_guard lock(mutex_);
    spare_ = std::move(frame);
}

std::optional<StudioFrame> FrameMailbox::spare() {
    const std::lock_guard lock(mutex_);
    return std::exchange(spare_, std::nullopt);
}

} // namespace orvane
