// The upload without files: the frame handshake, one frame read into memory, and the conversion
// of a captured frame into the colour planes.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "geometry/frame_geometry.h"
#include "image/cpu_features.h"
#include "image/frame_buffers.h"
#include "port/port_io.h"
#include "port/trace_sink.h"

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

// The upload's conversion of rawFrame into the blue, green and red planes: the colour mosaic in
// RGB mode, YUV 4:2:2 otherwise.
void convertFrame(FrameBuffers& buffers, const FrameGeometry& geometry, uint8_t dataFormat,
                  CpuFeatures cpu);

} // namespace orvane
