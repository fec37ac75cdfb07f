// The upload without files: one frame read into memory with the upload's own register sequence,
// and the conversion of a captured frame into the colour planes.
#pragma once

#include <cstdint>

#include "image/frame_buffers.h"
#include "image/frame_geometry.h"
#include "port/write_register.h"
#include "sensor/register_shadow.h"

namespace orvane {

// The upload's wire sequence: register 0x13 with the upload bit, the INIT pulse and one STROBE
// per byte into rawFrame, then register 0x13 back to its normal setting. Nothing goes on the bus
// between INIT and the last STROBE. False, with nothing sent, when the geometry does not fit the
// buffers for the shadow's data format.
bool captureLiveFrame(ControlBus& bus, const RegisterShadow& shadow, const FrameGeometry& geometry,
                      FrameBuffers& buffers);

// The upload's conversion of rawFrame into the blue, green and red planes: the colour mosaic in
// RGB mode, YUV 4:2:2 otherwise.
void convertFrame(FrameBuffers& buffers, const FrameGeometry& geometry, uint8_t dataFormat);

} // namespace orvane
