// CameraNode: the camera published as a PipeWire video source, a pw_stream of its own that
// drives its graph. Frames are captured when the node's timer asks for one, straight into the
// consumer's buffers; the device is open only while a consumer streams.
#pragma once

#include <pipewire/pipewire.h>

#include <optional>
#include <string>
#include <vector>

#include "node_camera.h"
#include "node_params.h"

namespace orvane {

class CameraNode {
public:
    // The node on core, its timers on loop. What happens is said on standard error.
    CameraNode(pw_loop* loop, pw_core* core, NodeCamera& camera, std::string description);
    ~CameraNode();
    CameraNode(const CameraNode&) = delete;
    CameraNode& operator=(const CameraNode&) = delete;

    // Creates the stream and offers it; false, having said why, when PipeWire refuses it.
    bool connect();

private:
    static void onStateChanged(void* data, pw_stream_state old, pw_stream_state state,
                               const char* error);
    static void onParamChanged(void* data, uint32_t id, const spa_pod* param);
    static void onProcess(void* data);
    static void onFrameTimer(void* data, uint64_t expirations);
    static void onRetryTimer(void* data, uint64_t expirations);

    void takeFormat(const spa_pod* param);
    void takeProps(const spa_pod* param);
    void startStreaming();
    void stopStreaming();
    void publishFormats();
    void publishProps();
    void captureInto(pw_buffer* buffer);
    // Says text once, until a frame goes well again.
    void sayOnce(const std::string& text);

    pw_loop* loop_;
    pw_core* core_;
    NodeCamera& camera_;
    std::string description_;
    pw_stream* stream_ = nullptr;
    pw_stream_events events_{};
    spa_hook listener_{};
    bool announced_ = false; // the node's id has been said
    bool streaming_ = false; // a program takes frames, whether or not the device opened
    spa_source* frameTimer_ = nullptr;
    spa_source* retryTimer_ = nullptr;
    std::optional<NodeVideoFormat> format_;
    std::size_t stride_ = 0;
    std::vector<uint8_t> scratch_;
    std::string lastTold_;
};

} // namespace orvane
