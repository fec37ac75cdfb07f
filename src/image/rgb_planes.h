// reconstructRgbPlanes: the colour-mosaic frame of RGB mode enlarged into full-size planes.
#pragma once

#include "image/frame_buffers.h"
#include "image/frame_geometry.h"

namespace orvane {

// Whether a frame of this geometry fits the buffers reconstructRgbPlanes works in: at least 2 x 2
// pixels, imageHeight lines of bytesPerLine bytes in rawFrame, a raw line and an output row in
// each line buffer, the planes in their buffers.
bool rgbFrameFits(const FrameGeometry& geometry);

// Splits the first imageHeight lines of rawFrame into blueSamples, greenSamples and redSamples
// (mosaic: even lines green, blue; odd lines red, green), then fills rows 0 to imageHeight - 1 of
// bluePlane, greenPlane and redPlane by the fixed weighted interpolation (weights summing to 10,
// integer division). Rows 0 and 1 are sample rows doubled; a 2-line frame repeats row 0 in row 1
// of the blue and red planes. Bytes of a raw line beyond imageWidth are ignored; bytes a line
// lacks (bytesPerLine < imageWidth) count as 0. lineA and lineB are left holding the last work
// rows. Does nothing when rgbFrameFits is false; the upload refuses such geometries before.
void reconstructRgbPlanes(FrameBuffers& buffers, const FrameGeometry& geometry);

} // namespace orvane
