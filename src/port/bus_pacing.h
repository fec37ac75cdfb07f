// BusPacing: how a bus transaction's trace lines pace it, and the pacing each caller uses.
#pragma once

#include <cstdint>

namespace orvane {

struct BusPacing {
    uint8_t traceRepeat;  // each trace line is written this many times in a row (1 or 2)
    bool tickWait;        // after every trace line but the first, wait for the tick counter
    uint8_t trailerLines; // extra "press any key18\n" lines after the last port write
};

constexpr BusPacing applySettingsPacing{2, false, 20};
constexpr BusPacing cameraResetPacing{1, true, 0};
constexpr BusPacing uploadFirstWritePacing{2, false, 0};
constexpr BusPacing uploadSecondWritePacing{1, false, 0};

// Minimum tick-counter difference of one tick wait, in milliseconds.
constexpr uint32_t tickWaitMilliseconds = 2;

} // namespace orvane
