// Writing a converted or raw frame into a caller's rows, with the caller's stride and layout.
#pragma once

#include <cstddef>
#include <cstdint>

#include <span>

#include "geometry/frame_geometry.h"
#include "image/cpu_features.h"
#include "orvane/frame.h"

namespace orvane {

// The shape of format for a geometry; the mosaic and raw layouts need no conversion.
FrameLayout frameLayout(const FrameGeometry& geometry, PixelFormat format);

// Rows of format from the raw frame, converted row by row straight into out, which holds
// layout.height rows stride bytes apart: Raw and Mosaic are the raw lines; the pixel formats the
// colour mosaic's rows (mosaic) or the 4:2:2 lines' (otherwise), as the upload converts them.
// A picture wider than maxFrameWidth is not converted. Only rows from to to - 1 are written
// when a range is given.
void writeFrameRows(std::span<const uint8_t> raw, const FrameGeometry& geometry, bool mosaic,
                    PixelFormat format, uint8_t* out, std::size_t stride, CpuFeatures cpu,
                    uint32_t from = 0, uint32_t to = UINT32_MAX);

// How many of format's rows writeFrameRows makes final from the first lines of the frame: a
// mosaic row is made from the sample lines on either side of it.
uint32_t rowsFromLines(const FrameGeometry& geometry, bool mosaic, PixelFormat format,
                       uint32_t lines);

} // namespace orvane
