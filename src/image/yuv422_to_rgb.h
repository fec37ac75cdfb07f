// Yuv422ToRgb: turns captured 4:2:2 YUV lines into the blue, green and red planes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "image/cpu_features.h"
#include "image/rgb_row.h"

namespace orvane {

// Converts `lines` lines of `width` pixels. Line L starts at byte L x bytesPerLine of source and
// holds width / 2 groups of four bytes: V, Y of the left pixel, U, Y of the right pixel; chroma is
// shared by the pair. Bytes of a line beyond 2 x width are ignored; bytes a line lacks (a line
// shorter than 2 x width, or the end of source) count as 0, so nothing outside the line or source
// is read.
//
// Per pixel, with c = V - 128 and u = U - 128: red = Y + c, blue = Y + u,
// green = Y - c / 2 - k u with k the single-precision 0.16666667 (11184811 / 2^26). Each result is
// clamped to 0..255 and its fraction dropped.
//
// Writes exactly width x lines bytes of each plane, row after row, top row first (rows that would
// not fit the smallest plane are not converted).
void Yuv422ToRgb(std::span<const uint8_t> source, std::span<uint8_t> greenPlane,
                 std::span<uint8_t> bluePlane, std::span<uint8_t> redPlane, uint32_t lines,
                 uint32_t width, uint32_t bytesPerLine, CpuFeatures cpu = processorFeatures());

// The loop over a row's whole groups (V, Y, U, Y) into 2 x groups pixels of each colour, chosen
// once for a whole frame.
using YuvGroups = void (*)(const uint8_t* source, RgbRow rows, std::size_t groups);
YuvGroups yuvGroupsFor(CpuFeatures cpu);

// The row kernel: one line of which `available` bytes exist into one row of each colour.
void convertYuvRow(const uint8_t* line, std::size_t available, uint32_t width, RgbRow out,
                   YuvGroups groups);

} // namespace orvane
