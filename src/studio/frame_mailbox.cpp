// The window's one-frame mailbox.
#include "frame_mailbox.h"

#include <QSocketNotifier>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <utility>

namespace orvane {

FrameMailbox::FrameMailbox() : ready_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

FrameMailbox::~FrameMailbox() {
    if (ready_ >= 0)
        ::close(ready_);
}

QSocketNotifier* FrameMailbox::watch(QObject* parent) const {
    return new QSocketNotifier(ready_, QSocketNotifier::Read, parent);
}

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
        if (wasEmpty) {
            const uint64_t one = 1;
            (void)!::write(ready_, &one, sizeof one);
        }
    }
    // The frame replaced lets go of its image outside the lock.
    return wasEmpty;
}

std::optional<StudioFrame> FrameMailbox::take() {
    const std::lock_guard lock(mutex_);
    uint64_t count = 0;
    (void)!::read(ready_, &count, sizeof count);
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
