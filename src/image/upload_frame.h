// uploadFrame: the "&Upload" button. Switches the sensor to its upload setting, reads one frame
// through the port, writes the raw and BMP files, starts the viewer and switches the sensor back.
#pragma once

#include <filesystem>
#include <span>

#include "image/frame_buffers.h"
#include "image/frame_geometry.h"
#include "image/viewer_launch.h"
#include "port/write_register.h"
#include "sensor/register_shadow.h"
#include "toolkit/panel.h"

namespace orvane {

// What an upload works on; everything is borrowed for the one call.
struct UploadContext {
    const RegisterShadow& shadow;
    const FrameGeometry& geometry;
    FrameBuffers& buffers;
    ControlBus& bus;
    ViewerLauncher& viewer;
    const std::filesystem::path& directory;
};

// Whether an upload of this geometry stays within the buffers (the bytes read, the planes,
// raw lines in the line buffers, the BMP image) and is not empty.
bool frameFitsBuffers(const FrameGeometry& geometry, uint8_t dataFormat);

// The INIT pulse, then one data-port read and one STROBE pulse per byte: exactly
// linesToRead x bytesPerLine bytes into rawFrame, which must hold them. Leaves the control
// register at 0x21.
void captureFrame(PortIo& port, TraceSink& trace, const FrameGeometry& geometry,
                  std::span<uint8_t> rawFrame);

// The whole upload. A geometry that does not fit is refused with a message before anything is
// sent. A file that cannot be written ends the upload with its message; the sensor is always
// switched back to its normal setting first.
void uploadFrame(UploadContext& upload, Panel& panel);

} // namespace orvane
