// RgbRow: one output row of each colour, as the conversions' row kernels write them.
#pragma once

#include <cstdint>

namespace orvane {

struct RgbRow {
    uint8_t* red;
    uint8_t* green;
    uint8_t* blue;
};

} // namespace orvane
