// Window presets the format selectors write into the four window edits.
#pragma once

#include <cstdint>

namespace orvane {

// In the order horizontal start, horizontal end, vertical start, vertical end.
struct WindowPreset {
    uint32_t hStart;
    uint32_t hEnd;
    uint32_t vStart;
    uint32_t vEnd;
};

constexpr uint32_t yuvCifHStart = 56;
constexpr uint32_t yuvCifHEnd = 214;
constexpr uint32_t yuvCifVStart = 5;
constexpr uint32_t yuvCifVEnd = 212;

constexpr WindowPreset yuvCifPreset{yuvCifHStart, yuvCifHEnd, yuvCifVStart, yuvCifVEnd};
constexpr WindowPreset rgbPreset{86, 192, 25, 180};
constexpr WindowPreset rgbCifPreset{106, 189, 15, 136};
constexpr WindowPreset rgbQcifPreset{123, 169, 67, 138};
constexpr WindowPreset yuvQcifPreset{94, 184, 37, 180};

} // namespace orvane
