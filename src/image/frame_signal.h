// Whether the bytes read for a frame can be a picture at all. Only what no scene can give fails:
// every byte one value (nothing drives the data lines, an unpowered module, a port that drives
// them itself), or the frame's last lines all 0xFF (the module stopped sending). The sensor's
// codes stay within 16..240 and a line's spare bytes follow its image, so a dark, bright or flat
// scene never reads so.
#pragma once

#include <cstdint>
#include <span>

#include "orvane/status.h"

namespace orvane {

// NoSignal, saying what was seen and what to check, for lines of bytesPerLine bytes from raw;
// success otherwise. Stops at the first byte that tells a picture, so a picture costs a few
// comparisons.
Status frameSignal(std::span<const uint8_t> raw, uint32_t lines, uint32_t bytesPerLine);

} // namespace orvane
