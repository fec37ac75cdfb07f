// The PipeWire stream of the camera node.
#include "camera_node.h"

#include <spa/buffer/meta.h>
#include <spa/utils/result.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <iostream>

namespace orvane {
namespace {

// Room for every parameter the node publishes at once.
constexpr std::size_t paramBytes = 64 * 1024;
// A stream that failed is offered again after this long.
constexpr long retrySeconds = 1;
// A device that would not open for a waiting program is tried again after this long.
constexpr long reopenSeconds = 1;

uint64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint64_t(now.tv_sec) * 1'000'000'000u + uint64_t(now.tv_nsec);
}

void say(const std::string& text) {
    std::cerr << "orvane-pipewire: " << text << std::endl;
}

std::string valueText(const ControlInfo& control, int32_t value) {
    for (const ControlChoice& choice : control.choices) {
        if (choice.value == value)
            return std::string(choice.name);
    }
    return std::to_string(value);
}

struct ParamStorage {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(paramBytes);
    spa_pod_builder builder{};
    ParamStorage() { spa_pod_builder_init(&builder, bytes.data(), uint32_t(bytes.size())); }
};

} // namespace

CameraNode::CameraNode(pw_loop* loop, pw_core* core, NodeCamera& camera, std::string description)
    : loop_(loop), core_(core), camera_(camera), description_(std::move(description)) {
    frameTimer_ = pw_loop_add_timer(loop_, onFrameTimer, this);
    retryTimer_ = pw_loop_add_timer(loop_, onRetryTimer, this);
}

CameraNode::~CameraNode() {
    if (stream_ != nullptr) {
        pw_stream_disconnect(stream_);
        pw_stream_destroy(stream_);
    }
    stopStreaming();
    pw_loop_destroy_source(loop_, frameTimer_);
    pw_loop_destroy_source(loop_, retryTimer_);
}

bool CameraNode::connect() {
    if (stream_ == nullptr) {
        pw_properties* properties = pw_properties_new(
            PW_KEY_MEDIA_CLASS, "Video/Source", PW_KEY_MEDIA_ROLE, "Camera", PW_KEY_MEDIA_TYPE,
            "Video", PW_KEY_MEDIA_CATEGORY, "Capture", PW_KEY_NODE_NAME, "orvane-camera",
            PW_KEY_NODE_NICK, "Orvane", PW_KEY_NODE_DESCRIPTION, description_.c_str(), nullptr);
        stream_ = pw_stream_new(core_, "orvane-camera", properties);
        if (stream_ == nullptr) {
            say(std::string("PipeWire refuses a new stream: ") + strerror(errno));
            return false;
        }
        events_.version = PW_VERSION_STREAM_EVENTS;
        events_.state_changed = onStateChanged;
        events_.param_changed = onParamChanged;
        events_.process = onProcess;
        pw_stream_add_listener(stream_, &listener_, &events_, this);
    }
    announced_ = false;
    ParamStorage storage;
    std::vector<const spa_pod*> params = formatParams(storage.builder, camera_.sizes());
    for (const spa_pod* info : propInfoParams(storage.builder))
        params.push_back(info);
    params.push_back(propsParam(storage.builder, camera_.values()));
    const int result = pw_stream_connect(
        stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY,
        static_cast<pw_stream_flags>(PW_STREAM_FLAG_DRIVER | PW_STREAM_FLAG_MAP_BUFFERS),
        params.data(), uint32_t(params.size()));
    if (result < 0) {
        say(std::string("PipeWire refuses the camera's stream: ") + spa_strerror(result));
        return false;
    }
    return true;
}

void CameraNode::onStateChanged(void* data, pw_stream_state, pw_stream_state state,
                                const char* error) {
    auto& self = *static_cast<CameraNode*>(data);
    switch (state) {
    case PW_STREAM_STATE_STREAMING:
        self.startStreaming();
        break;
    case PW_STREAM_STATE_PAUSED:
        if (!self.announced_)
            say("node " + std::to_string(pw_stream_get_node_id(self.stream_)) +
                " is offered as \"" + self.description_ + "\"");
        self.announced_ = true;
        self.stopStreaming();
        break;
    case PW_STREAM_STATE_ERROR: {
        say(std::string("the stream failed: ") + (error != nullptr ? error : "no reason given") +
            "; it is offered again");
        self.stopStreaming();
        timespec retry{retrySeconds, 0};
        pw_loop_update_timer(self.loop_, self.retryTimer_, &retry, nullptr, false);
        break;
    }
    default:
        break;
    }
}

void CameraNode::onRetryTimer(void* data, uint64_t) {
    auto& self = *static_cast<CameraNode*>(data);
    self.format_.reset();
    self.camera_.release();
    pw_stream_disconnect(self.stream_);
    self.connect();
}

void CameraNode::onParamChanged(void* data, uint32_t id, const spa_pod* param) {
    auto& self = *static_cast<CameraNode*>(data);
    if (id == SPA_PARAM_Format)
        self.takeFormat(param);
    else if (id == SPA_PARAM_Props)
        self.takeProps(param);
}

void CameraNode::takeFormat(const spa_pod* param) {
    if (param == nullptr) {
        // The consumer is gone: the next may choose any size.
        format_.reset();
        camera_.release();
        publishFormats();
        return;
    }
    const std::optional<NodeVideoFormat> chosen = readFormat(param);
    if (!chosen) {
        pw_stream_set_error(stream_, -EINVAL, "the format is none of the camera's");
        return;
    }
    if (const Status held = camera_.hold(chosen->width, chosen->height); !held) {
        say(held.message());
        pw_stream_set_error(stream_, -EINVAL, "%s", held.message().c_str());
        return;
    }
    format_ = chosen;
    // Rows of whole words, as most consumers take them.
    stride_ = SPA_ROUND_UP_N(nodeRowBytes(chosen->format, chosen->width), 4);
    ParamStorage storage;
    std::vector<const spa_pod*> params =
        bufferParams(storage.builder, stride_, stride_ * chosen->height);
    pw_stream_update_params(stream_, params.data(), uint32_t(params.size()));
    publishProps();
}

void CameraNode::takeProps(const spa_pod* param) {
    std::vector<std::string> problems;
    const std::vector<ControlSetting> settings = readProps(param, problems);
    for (const std::string& problem : problems)
        say(problem);
    // All at once, so a format and the window it allows go together; when that is refused, one
    // by one, so one refused value does not hold back the rest.
    if (!settings.empty() && !camera_.change(settings)) {
        for (const ControlSetting& setting : settings) {
            const std::vector<int32_t> before = camera_.values();
            if (const Status status = camera_.change({&setting, 1}); !status) {
                const ControlInfo* control = findControl(setting.name);
                const std::size_t index = std::size_t(control - controlList().data());
                say(std::string(setting.name) + " " + std::to_string(setting.value) +
                    " is refused: " + status.message() + "; it stays " +
                    valueText(*control, before[index]));
            }
        }
    }
    publishProps();
    if (!format_)
        publishFormats();
}

void CameraNode::publishFormats() {
    ParamStorage storage;
    std::vector<const spa_pod*> params = formatParams(storage.builder, camera_.sizes());
    pw_stream_update_params(stream_, params.data(), uint32_t(params.size()));
}

void CameraNode::publishProps() {
    ParamStorage storage;
    const spa_pod* props = propsParam(storage.builder, camera_.values());
    pw_stream_update_params(stream_, &props, 1);
}

void CameraNode::startStreaming() {
    streaming_ = true;
    if (camera_.device() == nullptr) {
        if (const Status status = camera_.start(); !status) {
            // The program waits: the port may soon be free again (another program had it).
            sayOnce("the camera cannot be opened: " + status.message() +
                    "; it is tried again every second while a program waits");
            timespec again{reopenSeconds, 0};
            pw_loop_update_timer(loop_, frameTimer_, &again, nullptr, false);
            return;
        }
        std::string what = "frames";
        if (format_)
            what = std::string(format_->format == NodeFormat::Rgb ? "RGB" : "YUY2") + " " +
                   std::to_string(format_->width) + "x" + std::to_string(format_->height) + " at " +
                   std::to_string(format_->framesPerSecond) + " frames a second";
        say("a program takes " + what + ": the camera runs on " + camera_.portName());
        lastTold_.clear();
    }
    const uint32_t rate =
        format_ && format_->framesPerSecond != 0 ? format_->framesPerSecond : nodeFrameRates[0];
    const long interval = 1'000'000'000L / long(rate);
    timespec first{0, 1}, every{interval / 1'000'000'000L, interval % 1'000'000'000L};
    pw_loop_update_timer(loop_, frameTimer_, &first, &every, false);
}

void CameraNode::stopStreaming() {
    streaming_ = false;
    lastTold_.clear();
    pw_loop_update_timer(loop_, frameTimer_, nullptr, nullptr, false);
    if (camera_.device() != nullptr) {
        camera_.stop();
        say("no program takes frames: the camera rests");
    }
}

void CameraNode::onFrameTimer(void* data, uint64_t) {
    auto& self = *static_cast<CameraNode*>(data);
    if (self.camera_.device() != nullptr)
        pw_stream_trigger_process(self.stream_);
    else if (self.streaming_)
        self.startStreaming();
}

void CameraNode::onProcess(void* data) {
    auto& self = *static_cast<CameraNode*>(data);
    if (self.camera_.device() == nullptr || !self.format_)
        return;
    pw_buffer* buffer = pw_stream_dequeue_buffer(self.stream_);
    if (buffer == nullptr)
        return; // the consumer holds every buffer: this frame is skipped
    self.captureInto(buffer);
    pw_stream_queue_buffer(self.stream_, buffer);
}

void CameraNode::captureInto(pw_buffer* buffer) {
    spa_data& block = buffer->buffer->datas[0];
    block.chunk->offset = 0;
    block.chunk->stride = int32_t(stride_);
    block.chunk->size = 0;
    if (block.data == nullptr)
        return;
    const uint64_t started = monotonicNanoseconds();
    FrameInfo info;
    const Status status = fillFrame(*camera_.device(), format_->format,
                                    std::span(static_cast<uint8_t*>(block.data), block.maxsize),
                                    stride_, scratch_, info);
    if (!status && status.code() != StatusCode::NoSignal) {
        block.chunk->flags = SPA_CHUNK_FLAG_CORRUPTED;
        sayOnce(status.message());
        return;
    }
    if (!status)
        sayOnce(status.message());
    else if (!lastTold_.empty()) {
        say("frames come again");
        lastTold_.clear();
    }
    block.chunk->flags = SPA_CHUNK_FLAG_NONE;
    block.chunk->size = uint32_t(stride_ * info.height);
    if (auto* header = static_cast<spa_meta_header*>(
            spa_buffer_find_meta_data(buffer->buffer, SPA_META_Header, sizeof(spa_meta_header)))) {
        header->flags = 0;
        header->offset = 0;
        header->pts = int64_t(started);
        header->dts_offset = 0;
        header->seq = info.sequence;
    }
}

void CameraNode::sayOnce(const std::string& text) {
    if (text != lastTold_)
        say(text);
    lastTold_ = text;
}

} // namespace orvane
