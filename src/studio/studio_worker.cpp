// The studio's worker: commands between frames, frames back to back.
#include "studio/studio_worker.h"

#include <QElapsedTimer>

#include <vector>

namespace orvane {
namespace {

// While paused or while the window catches up, the worker looks again after this long.
constexpr int idleIntervalMs = 20;

// RGB32 is the format the raster painter draws without converting.
QImage imageOf(const LiveFrame& frame) {
    const int width = static_cast<int>(frame.geometry.imageWidth);
    const int height = static_cast<int>(frame.geometry.imageHeight);
    QImage image(width, height, QImage::Format_RGB32);
    const uint8_t* in = frame.rgb.data();
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[0], in[1], in[2]);
    }
    return image;
}

} // namespace

StudioWorker::StudioWorker(PortIo& port, TraceSink& trace, std::filesystem::path directory)
    : session_(std::make_unique<StudioSession>(port, trace, std::move(directory))) {
    qRegisterMetaType<StudioFrame>();
    qRegisterMetaType<ControlValues>();
}

StudioWorker::~StudioWorker() = default;

void StudioWorker::start() {
    if (!session_->start()) {
        emit startFailed(QStringLiteral("not enough memory for the frame buffers; close other "
                                        "programs and start again"));
        return;
    }
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &StudioWorker::captureNext);
    active_ = true;
    emit started(session_->controls());
    schedule();
}

void StudioWorker::applyCommands(const QStringList& lines) {
    if (!active_)
        return;
    std::vector<std::string> commands;
    commands.reserve(std::size_t(lines.size()));
    for (const QString& line : lines)
        commands.push_back(line.toStdString());
    const std::vector<std::string> notes = session_->run(commands);
    emit controlsChanged(session_->controls());
    for (const std::string& note : notes)
        emit statusMessage(QString::fromStdString(note));
    captureFailing_ = false;
    schedule();
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
    active_ = false;
    if (timer_ != nullptr)
        timer_->stop();
    emit stopped();
}

// At once when a frame may be taken, later otherwise; queued commands run before the next frame
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

void StudioWorker::captureNext() {
    if (!active_ || !running_ || framesInFlight_ >= maxFramesInFlight)
        return;
    if (!session_->capture(frame_)) {
        captureFailing_ = true;
        emit statusMessage(QString::fromStdString(session_->captureProblem()));
        return;
    }
    StudioFrame out;
    out.number = ++framesCaptured_;
    QElapsedTimer conversion;
    conversion.start();
    out.image = imageOf(frame_);
    out.raw =
        QByteArray(reinterpret_cast<const char*>(frame_.raw.data()), qsizetype(frame_.raw.size()));
    out.geometry = frame_.geometry;
    out.dataFormat = frame_.dataFormat;
    out.histogram = frame_.histogram;
    out.portMilliseconds = frame_.portMilliseconds;
    out.conversionMilliseconds =
        frame_.conversionMilliseconds + double(conversion.nsecsElapsed()) / 1e6;
    ++framesInFlight_;
    emit frameReady(out);
    schedule();
}

} // namespace orvane
