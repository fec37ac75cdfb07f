// The upload without files: the frame handshake, one frame read into memory with the upload's own
// register sequence, and the conversion of a captured frame into the colour planes.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "image/frame_buffers.h"
#include "image/frame_geometry.h"
#include "port/write_register.h"
#include "sensor/register_shadow.h"

namespace orvane {

// Whether an upload of this geometry stays within the buffers (the bytes read, the planes,
// raw lines in the line buffers, the BMP image) and is not empty.
bool frameFitsBuffers(const FrameGeometry& geometry, uint8_t dataFormat);

// Told the number of lines read so far after each line of a frame; it runs between two lines,
// where the port waits for the next STROBE.
using LinesRead = std::function<void(uint32_t lines)>;

// The INIT pulse, then one data-port read and one STROBE pulse per byte: exactly
// linesToRead x bytesPerLine bytes into rawFrame, which must hold them. Leaves the control
// register at 0x21.
void captureFrame(PortIo& port, TraceSink& trace, const FrameGeometry& geometry,
                  std::span<uint8_t> rawFrame, const LinesRead& linesRead = nullptr);

// The upload's wire sequence: register 0x13 with the upload bit, the INIT pulse and one STROBE
// per byte into rawFrame, then register 0x13 back to its normal setting. Nothing goes on the bus
// between INIT and the last STROBE. whileInUploadSetting, if given, runs after the last STROBE
// and before the sensor is switched back. False, with nothing sent, when the geometry does not
// fit the buffers for the shadow's data format.
bool captureLiveFrame(ControlBus& bus, const RegisterShadow& shadow, const FrameGeometry& geometry,
                      FrameBuffers& buffers,
                      const std::function<void()>& whileInUploadSetting = nullptr,
                      const LinesRead& linesRead = nullptr);

// The upload's conversion of rawFrame into the blue, green and red planes: the colour mosaic in
// RGB mode, YUV 4:2:2 otherwise.
void convertFrame(FrameBuffers& buffers, const FrameGeometry& geometry, uint8_t dataFormat);

} // namespace orvane
