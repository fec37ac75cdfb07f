// The studio's worker: settings between frames, frames back to back.
#include "studio_worker.h"

#include <QElapsedTimer>

#include <algorithm>

namespace orvane {
namespace {

// Gives the window the rows of a slow frame as they arrive.
class ArrivingRows final : public CaptureProgress {
public:
    ArrivingRows(const QImage& image, quint64 number, FrameMailbox& mailbox)
        : image_(image), number_(number), mailbox_(mailbox) {}

    // The capture stands still meanwhile, so the rows are copied from under it.
    void rowsArrived(uint32_t rows, uint32_t height) override {
        if (rows == 0)
            return;
        StudioFrame frame;
        frame.number = number_;
        frame.arrivingOf = int(height);
        frame.image = image_.copy(0, 0, image_.width(), int(rows));
        mailbox_.put(std::move(frame));
    }

private:
    const QImage& image_;
    quint64 number_;
    FrameMailbox& mailbox_;
};

// The settings of values that are not their control's default.
std::vector<ControlSetting> settingsOtherThanDefaults(const ControlValues& values) {
    std::vector<ControlSetting> settings;
    for (const ControlValue& value : values) {
        const ControlInfo* info = findControl(value.name);
        if (info != nullptr && info->defaultValue != value.value)
            settings.push_back({value.name, value.value});
    }
    return settings;
}

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

RegisterSnapshot StudioWorker::registerSnapshot() {
    RegisterSnapshot snapshot{camera_->registers(), std::nullopt};
    if (std::array<uint8_t, 256> module{}; camera_->moduleRegisters(module)) {
        snapshot.module = module;
        moduleShown_ = module;
    }
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
    const std::vector<ControlSetting> settings =
        keepSettings ? settingsOtherThanDefaults(before) : std::vector<ControlSetting>{};
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

// Another simulated module, the settings in force carried over; on failure the camera in use
// stays and the reason is told.
void StudioWorker::reopen(const QString& device) {
    if (!active_ || !opener_)
        return;
    sendPending();
    Status status;
    std::unique_ptr<Camera> next = opener_(device.toStdString(), status);
    if (next == nullptr) {
        emit statusMessage(QString::fromStdString(status.message()));
        return;
    }
    const ControlValues before = controls();
    camera_ = std::move(next);
    if (const std::vector<ControlSetting> settings = settingsOtherThanDefaults(before);
        !settings.empty())
        status = camera_->set(settings);
    if (status)
        emit statusMessage(QString::fromStdString(camera_->description()));
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

// The next frame at once while running; queued settings run before it because the timer fires
// only from the event loop.
void StudioWorker::schedule(int afterMilliseconds) {
    if (timer_ == nullptr || !active_)
        return;
    if (running_ && !captureFailing_)
        timer_->start(afterMilliseconds);
    else
        timer_->stop();
}

// The capture writes the picture straight into the image the window shows and the port's
// bytes into the raw copy snapshots keep, reusing a frame the window gave back.
void StudioWorker::captureNext() {
    if (!active_ || !running_)
        return;
    sendPending();
    FrameLayout picture;
    FrameLayout raw;
    Status status = camera_->layout(PixelFormat::Xrgb32, picture);
    if (status)
        status = camera_->layout(PixelFormat::Raw, raw);
    StudioFrame out = mailbox_.spare().value_or(StudioFrame{});
    if (status) {
        // Only a new size, or an image someone still holds, allocates.
        if (!out.image.isDetached() || out.image.width() != int(picture.width) ||
            out.image.height() != int(picture.height))
            out.image = QImage(int(picture.width), int(picture.height), QImage::Format_RGB32);
        if (!out.raw.isDetached() || out.raw.size() != qsizetype(raw.bytes))
            out.raw = QByteArray(qsizetype(raw.bytes), Qt::Uninitialized);
        const FrameTarget targets[] = {
            {PixelFormat::Xrgb32, out.image.bits(), std::size_t(out.image.sizeInBytes()),
             std::size_t(out.image.bytesPerLine())},
            {PixelFormat::Raw, reinterpret_cast<uint8_t*>(out.raw.data()), raw.bytes, 0}};
        ArrivingRows arriving(out.image, framesCaptured_ + 1, mailbox_);
        status = camera_->capture(targets, &out.info, &arriving);
    }
    // A frame read from nothing is still shown, and the next one tried a little later: the
    // module may come back (a cable plugged in, the power switched on).
    const bool noSignal = status.code() == StatusCode::NoSignal;
    if (!status && !noSignal) {
        captureFailing_ = true;
        emit statusMessage(QStringLiteral("No live picture: ") +
                           QString::fromStdString(status.message()));
        return;
    }
    if (const QString told = noSignal ? QString::fromStdString(status.message()) : QString();
        told != noSignalTold_) {
        emit statusMessage(noSignal ? QStringLiteral("No signal: ") + told
                                    : QStringLiteral("The signal is back"));
        noSignalTold_ = told;
    }
    QElapsedTimer histogram;
    histogram.start();
    out.histogram = histogramOf(std::span(reinterpret_cast<const uint32_t*>(out.image.constBits()),
                                          std::size_t(out.image.width()) * out.image.height()));
    out.number = ++framesCaptured_;
    out.arrivingOf = 0;
    tellRecordingState();
    out.portMilliseconds = out.info.portMilliseconds;
    out.conversionMilliseconds =
        out.info.conversionMilliseconds + double(histogram.nsecsElapsed()) / 1e6;
    mailbox_.put(std::move(out));
    // The simulated sensor's own loops move its registers between changes: the inspector follows.
    if (std::array<uint8_t, 256> module{};
        camera_->moduleRegisters(module) && module != moduleShown_)
        emit registersChanged(registerSnapshot());
    schedule(noSignal ? noSignalRetryMilliseconds : 0);
}

} // namespace orvane
