// The studio's worker: settings between frames, frames back to back.
#include "studio/studio_worker.h"

#include <QElapsedTimer>

#include <algorithm>

namespace orvane {
namespace {

// While paused or while the window catches up, the worker looks again after this long.
constexpr int idleIntervalMs = 20;

} // namespace

StudioWorker::StudioWorker(std::unique_ptr<Camera> camera) : camera_(std::move(camera)) {
    qRegisterMetaType<StudioFrame>();
    qRegisterMetaType<ControlValues>();
    qRegisterMetaType<ControlChanges>();
    qRegisterMetaType<RegisterSnapshot>();
}

StudioWorker::~StudioWorker() = default;

ControlValues StudioWorker::controls() const {
    ControlValues values;
    for (const ControlInfo& info : camera_->controls()) {
        int32_t value = 0;
        if (camera_->get(info.name, value))
            values.push_back({info.name, value});
    }
    return values;
}

RegisterSnapshot StudioWorker::registerSnapshot() const {
    RegisterSnapshot snapshot{camera_->registers(), std::nullopt};
    if (std::array<uint8_t, 256> module{}; camera_->moduleRegisters(module))
        snapshot.module = module;
    return snapshot;
}

void StudioWorker::report(const Status& status) {
    if (!status)
        emit statusMessage(QString::fromStdString(status.message()));
    emit controlsChanged(controls());
    emit registersChanged(registerSnapshot());
    captureFailing_ = false;
    schedule();
}

// A recording that ends at its limit or fails to be written is told in the status bar; the live
// picture goes on either way.
void StudioWorker::tellRecordingState() {
    const RecordingState state = camera_->recordingState();
    if (state == recordingTold_)
        return;
    recordingTold_ = state;
    if (state == RecordingState::LimitReached)
        emit statusMessage(QStringLiteral("The recording reached its size limit "
                                          "(ORVANE_VCD_LIMIT) and ended there"));
    else if (state == RecordingState::Failed)
        emit statusMessage(QStringLiteral("The recording could not be written completely (disk "
                                          "full?)"));
}

void StudioWorker::start() {
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &StudioWorker::captureNext);
    pendingTimer_ = new QTimer(this);
    pendingTimer_->setSingleShot(true);
    connect(pendingTimer_, &QTimer::timeout, this, &StudioWorker::sendPending);
    active_ = true;
    emit started(controls());
    emit registersChanged(registerSnapshot());
    schedule();
}

namespace {

bool sameControls(const ControlChanges& a, const ControlChanges& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const ControlChange& x, const ControlChange& y) { return x.name == y.name; });
}

} // namespace

// Changes that came while a frame was read wait for the frame's end; a slider dragged meanwhile
// sends only where it ended, since each change for the same controls replaces the one before.
void StudioWorker::applySettings(const ControlChanges& changes) {
    if (!active_)
        return;
    if (!pending_.empty() && sameControls(pending_.back(), changes))
        pending_.back() = changes;
    else
        pending_.push_back(changes);
    // A timer of this thread's own fires once the changes already queued have all come in.
    if (!pendingTimer_->isActive())
        pendingTimer_->start(0);
}

void StudioWorker::sendPending() {
    std::vector<ControlChanges> batches;
    batches.swap(pending_);
    for (const ControlChanges& changes : batches) {
        std::vector<ControlSetting> settings;
        for (const ControlChange& change : changes)
            settings.push_back({change.name, change.value});
        report(camera_->set(settings));
    }
}

// The sensor's reset leaves every control at its default; keepSettings sends the ones that were
// set otherwise again, so the picture is the one a fresh start with those settings gives.
void StudioWorker::reset(bool keepSettings) {
    if (!active_)
        return;
    sendPending();
    const ControlValues before = controls();
    Status status = camera_->reset();
    std::vector<ControlSetting> settings;
    for (const ControlValue& value : before) {
        const ControlInfo* info = findControl(value.name);
        if (keepSettings && info != nullptr && info->defaultValue != value.value)
            settings.push_back({value.name, value.value});
    }
    if (status && !settings.empty())
        status = camera_->set(settings);
    if (status)
        emit statusMessage(keepSettings ? QStringLiteral("Sensor reset; the current settings were "
                                                         "sent again (%1 controls)")
                                              .arg(settings.size())
                                        : QStringLiteral("Sensor reset; every control is at its "
                                                         "default"));
    report(status);
}

void StudioWorker::writeRegister(int address, int value) {
    if (!active_)
        return;
    sendPending();
    report(camera_->writeRegister(address, value));
}

void StudioWorker::setRunning(bool running) {
    running_ = running;
    schedule();
}

void StudioWorker::frameShown() {
    if (framesInFlight_ > 0)
        --framesInFlight_;
    schedule();
}

void StudioWorker::stop() {
    if (active_)
        sendPending(); // the settings kept at exit are the last ones asked for
    active_ = false;
    if (timer_ != nullptr)
        timer_->stop();
    if (pendingTimer_ != nullptr)
        pendingTimer_->stop();
    emit stopped();
}

// At once when a frame may be taken, later otherwise; queued settings run before the next frame
// because the timer fires only from the event loop.
void StudioWorker::schedule() {
    if (timer_ == nullptr || !active_)
        return;
    const bool ready = running_ && !captureFailing_ && framesInFlight_ < maxFramesInFlight;
    if (ready)
        timer_->start(0);
    else if (running_ && !captureFailing_)
        timer_->start(idleIntervalMs);
    else
        timer_->stop();
}

// The capture writes the picture straight into the image the window shows and the port's
// bytes into the raw copy snapshots keep.
void StudioWorker::captureNext() {
    if (!active_ || !running_ || framesInFlight_ >= maxFramesInFlight)
        return;
    sendPending();
    FrameLayout picture;
    FrameLayout raw;
    Status status = camera_->layout(PixelFormat::Xrgb32, picture);
    if (status)
        status = camera_->layout(PixelFormat::Raw, raw);
    StudioFrame out;
    if (status) {
        // The next slot's image and bytes are reused once the window has let go of them; only a
        // new size, or a window still holding every slot, allocates.
        FrameSlot& slot = slots_[nextSlot_++ % slots_.size()];
        if (!slot.image.isDetached() || slot.image.width() != int(picture.width) ||
            slot.image.height() != int(picture.height))
            slot.image = QImage(int(picture.width), int(picture.height), QImage::Format_RGB32);
        if (!slot.raw.isDetached() || slot.raw.size() != qsizetype(raw.bytes))
            slot.raw = QByteArray(qsizetype(raw.bytes), Qt::Uninitialized);
        out.image = slot.image;
        out.raw = slot.raw;
        slot.image = QImage(); // the frame holds the only reference while it is filled
        slot.raw = QByteArray();
        const FrameTarget targets[] = {
            {PixelFormat::Xrgb32, out.image.bits(), std::size_t(out.image.sizeInBytes()),
             std::size_t(out.image.bytesPerLine())},
            {PixelFormat::Raw, reinterpret_cast<uint8_t*>(out.raw.data()), raw.bytes, 0}};
        status = camera_->capture(targets, &out.info);
        slot.image = out.image;
        slot.raw = out.raw;
    }
    if (!status) {
        captureFailing_ = true;
        emit statusMessage(QStringLiteral("No live picture: ") +
                           QString::fromStdString(status.message()));
        return;
    }
    QElapsedTimer histogram;
    histogram.start();
    out.histogram = histogramOf(std::span(reinterpret_cast<const uint32_t*>(out.image.constBits()),
                                          std::size_t(out.image.width()) * out.image.height()));
    out.number = ++framesCaptured_;
    tellRecordingState();
    out.portMilliseconds = out.info.portMilliseconds;
    out.conversionMilliseconds =
        out.info.conversionMilliseconds + double(histogram.nsecsElapsed()) / 1e6;
    ++framesInFlight_;
    emit frameReady(out);
    schedule();
}

} // namespace orvane
