// CameraDevice: the camera without any front end: the register shadow, the frame geometry and
// buffers, and the bus, with the operations that drive them. Plans come from sensor/write_plan;
// the device sends and keeps them. The panel and the library's Camera both work through it.
#pragma once

#include <functional>
#include <optional>

#include "geometry/frame_geometry.h"
#include "image/cpu_features.h"
#include "image/frame_buffers.h"
#include "image/live_frame.h"
#include "port/write_register.h"
#include "sensor/register_shadow.h"
#include "sensor/write_plan.h"

namespace orvane {

class CameraDevice {
public:
    CameraDevice(PortIo& port, TraceSink& trace, TickCounter& ticks);

    // The buffers, then the port set-up. False when the buffers cannot be allocated; the port is
    // then untouched.
    bool open();
    // Frees the buffers; only the first call frees.
    void close();

    // A Set Register's transactions, one per write, back to back.
    void send(const ApplyPlan& plan);
    // What a plan leaves: the shadow and the geometry.
    void keep(const ApplyPlan& plan);
    void keep(const SelectorPlan& plan);

    // The reset write (0x80 to register 0x12, timed pacing), then the shadow's start values and
    // the geometry the reset leaves.
    void reset();

    // The upload's wire sequence into rawFrame: register 0x13 with the upload bit, the INIT pulse
    // and one STROBE per byte, then register 0x13 back to its normal setting. Nothing goes on the
    // bus between INIT and the last STROBE. whileInUploadSetting, if given, runs after the last
    // STROBE and before the sensor is switched back. False, with nothing sent, when the geometry
    // does not fit the buffers. linesRead, if given, is told after each line.
    bool capture(const std::function<void()>& whileInUploadSetting = nullptr,
                 const LinesRead& linesRead = nullptr);
    // rawFrame into the colour planes for the data format in force.
    void convert();

    RegisterShadow shadow;
    FrameGeometry geometry;
    FrameBuffers buffers;
    ControlBus bus;
    // The frame the buffers hold, once one was read: its geometry and data format.
    struct HeldFrame {
        FrameGeometry geometry;
        uint8_t dataFormat;
    };
    std::optional<HeldFrame> heldFrame;
    // The conversions' loops: ORVANE_CPU, read once as the device is made.
    CpuFeatures cpu = conversionFeatures();
};

} // namespace orvane
