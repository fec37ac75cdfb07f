// Writing a converted or raw frame into a caller's rows, with the caller's stride and layout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/frame_buffers.h"
#include "image/frame_geometry.h"
#include "orvane/frame.h"

namespace orvane {

// The shape of format for a geometry; the mosaic and raw layouts need no conversion.
FrameLayout frameLayout(const FrameGeometry& geometry, PixelFormat format);

// Rows of format from the buffers: Raw and Mosaic from rawFrame, the pixel formats from the
// three colour planes. out holds layout.height rows stride bytes apart.
void writeFrameRows(FrameBuffers& buffers, const FrameGeometry& geometry, PixelFormat format,
                    uint8_t* out, std::size_t stride);

} // namespace orvane
