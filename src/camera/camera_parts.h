// What a Camera holds: the opened port, the device on it, the fields that stand for the panel's
// sliders and edits, what the sensor was sent, and the lock that lets one call in at a time.
#pragma once

#include <atomic>
#include <bitset>
#include <mutex>
#include <thread>

#include "backend/port_factory.h"
#include "camera/camera_device.h"
#include "camera/camera_port.h"
#include "image/cpu_features.h"
#include "orvane/camera.h"
#include "port/tick_counter.h"
#include "port/trace_sink.h"
#include "port/vcd_recorder.h"
#include "sensor/control_table.h"
#include "sim/simulated_camera_module.h"

namespace orvane {

// The device's trace to the caller's output, if any.
class TraceForwarder final : public TraceSink {
public:
    explicit TraceForwarder(TraceOutput* output) : output_(output) {}
    void writeLine(std::string_view line) override {
        if (output_ != nullptr)
            output_->writeLine(line);
    }

private:
    TraceOutput* output_;
};

// The settings a change is planned on: copies of the camera's, so that asking or refusing
// leaves the camera untouched.
struct CameraDraft {
    RegisterShadow shadow;
    SensorFields fields;
    FrameGeometry geometry;

    // A control's value in force.
    int32_t value(const ControlRow& row) const;
    // One control moved, nothing sent; a selector may refuse.
    Status change(const ControlRow& row, int32_t value);
    // What a Set Register of what is pending would send and leave, or its refusal: a window
    // whose start is not before its end, or one that leaves no pixels.
    Status plan(ApplyPlan& plan) const;
};

// The shape of format for a data format and geometry, or why there is none.
Status layoutOf(uint8_t dataFormat, const FrameGeometry& geometry, PixelFormat format,
                FrameLayout& layout);

// One call at a time; capturing names the thread whose capture is telling its progress.
struct CallLock {
    mutable std::mutex mutex;
    std::atomic<std::thread::id> capturing{};
};

struct __attribute__((visibility("hidden"))) Camera::Parts {
    // The device on the port it drives (the recorder when recording).
    Parts(CameraPort port, TraceOutput* output);

    CameraDraft draft() const { return {device.shadow, fields, device.geometry}; }
    // Sends a plan and keeps what it leaves.
    void send(const ApplyPlan& plan);
    // Every managed register due, sent at the next apply: the camera then knows what the
    // sensor holds, whatever it held before.
    void markEverythingDue();
    // After the sensor's soft reset: every control at its default, the full register set sent.
    Status followReset();
    // The frame geometry of the window and format the sensor was sent last, once all are known.
    void followSentWindow();

    CameraPort port;
    // The simulated module the camera drives, opened or borrowed; null on hardware.
    const SimulatedCameraModule* module = nullptr;
    bool recordingFinished = false;
    TraceForwarder trace;
    MonotonicTickCounter ticks;
    CameraDevice device;
    SensorFields fields;
    // What each register was last sent, where the camera has sent it since the sensor's reset.
    std::array<uint8_t, 256> sent{};
    std::bitset<256> sentKnown;
    uint64_t sequence = 0;

    CallLock calls;
};

// Lets one call into a Camera at a time. A call on the thread of a capture that is telling its
// progress runs without waiting when it only reads (the capture is paused there), and is refused
// when it would change or drive the camera under that capture.
class CallGuard {
public:
    enum class Kind : uint8_t { Reads, Drives };
    CallGuard(const CallLock& calls, Kind kind);
    // Why the call may not go on, or ok.
    const Status& status() const { return status_; }

private:
    std::unique_lock<std::mutex> lock_;
    Status status_;
};

// Makes Cameras: from a device name, or on a port the caller keeps (tests and tools
// that watch the wire).
struct CameraFactory {
    static std::unique_ptr<Camera> open(std::string_view device, Status& status,
                                        const CameraOptions& options);
    static std::unique_ptr<Camera> openOn(PortIo& port, Status& status,
                                          const CameraOptions& options);

private:
    // A recording's limit and path, before anything is opened.
    static Status checkRecording(const CameraOptions& options);
    static PortRecording recordingOf(const CameraOptions& options) {
        return {options.recording, options.recordingLimit};
    }
    static std::unique_ptr<Camera> start(CameraPort port, const SimulatedCameraModule* module,
                                         Status& status, const CameraOptions& options);
};

} // namespace orvane
