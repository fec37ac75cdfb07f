// What the pixel under the pointer is made of: its raw samples as the port delivered them.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace orvane {

// "Y 120 U 98 V 140" for a YUV frame (the pixel's own Y and the U and V its pair shares), or
// "raw 77 (green)" for a colour-mosaic frame (even lines green, blue; odd lines red, green).
// Bytes a line lacks read as 0, as the conversions take them.
std::string rawSampleText(std::span<const uint8_t> raw, uint32_t bytesPerLine, bool mosaic,
                          uint32_t x, uint32_t y);

} // namespace orvane
