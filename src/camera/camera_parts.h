// What a Camera holds: the opened port, the device on it and the fields that stand for the
// panel's sliders and edits.
#pragma once

#include "backend/port_factory.h"
#include "camera/camera_device.h"
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

struct __attribute__((visibility("hidden"))) Camera::Parts {
    // The device on port (the recorder when recording, else the opened backend's, else a
    // borrowed one).
    Parts(OpenedPort opened, std::unique_ptr<VcdRecorder> recorder, PortIo& port,
          TraceOutput* output);

    // A control's value in force.
    int32_t value(const ControlRow& row) const;
    // One control moved in the shadow and fields, nothing sent; a selector may refuse.
    Status change(const ControlRow& row, int32_t value);
    // A Set Register of what is pending; a window whose start is not before its end is refused
    // with nothing sent.
    Status apply();
    // What apply would send and keep, or its refusal; nothing changes.
    Status plan(ApplyPlan& plan) const;
    // The settings checked and in the order a Camera applies them.
    static Status ordered(std::span<const ControlSetting> settings,
                          std::vector<std::pair<const ControlRow*, int32_t>>& changes);

    OpenedPort opened; // empty on a borrowed port
    // The simulated module the camera drives, opened or borrowed; null on hardware.
    const SimulatedCameraModule* module = nullptr;
    std::unique_ptr<VcdRecorder> recorder;
    TraceForwarder trace;
    MonotonicTickCounter ticks;
    CameraDevice device;
    SensorFields fields;
    CpuFeatures cpu = conversionFeatures(); // ORVANE_CPU, read as the camera opens
    uint64_t sequence = 0;
};

// Makes Cameras: from a device name, or on a port the caller keeps (tests and tools
// that watch the wire).
struct CameraFactory {
    static std::unique_ptr<Camera> open(std::string_view device, Status& status,
                                        const CameraOptions& options);
    static std::unique_ptr<Camera> openOn(PortIo& port, Status& status,
                                          const CameraOptions& options);

private:
    static std::unique_ptr<Camera> start(OpenedPort opened, PortIo* borrowed, Status& status,
                                         const CameraOptions& options);
};

} // namespace orvane
