// What a Camera holds: the opened port, the device on it and the fields that stand for the
// panel's sliders and edits.
#pragma once

#include "backend/port_factory.h"
#include "camera/camera_device.h"
#include "orvane/camera.h"
#include "port/tick_counter.h"
#include "port/trace_sink.h"
#include "sensor/control_table.h"

namespace orvane {

// A library caller reads no trace.
class DiscardedTrace final : public TraceSink {
public:
    void writeLine(std::string_view) override {}
};

struct __attribute__((visibility("hidden"))) Camera::Parts {
    explicit Parts(OpenedPort port);

    // A control's value in force.
    int32_t value(const ControlRow& row) const;
    // One control moved in the shadow and fields, nothing sent; a selector may refuse.
    Status change(const ControlRow& row, int32_t value);
    // A Set Register of what is pending; a window whose start is not before its end is refused
    // with nothing sent.
    Status apply();

    OpenedPort opened;
    DiscardedTrace trace;
    MonotonicTickCounter ticks;
    CameraDevice device;
    SensorFields fields;
    uint64_t sequence = 0;
};

} // namespace orvane
