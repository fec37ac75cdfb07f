// The sensor's automatic loops. With auto adjust on (0x13 bit 0), after every sensor frame the
// exposure loop (with AGC, 0x12 bit 5) moves the exposure (0x10) and then the gain (0x00) toward
// the luma target, and white balance (AWB, 0x12 bit 2) moves blue and red (0x01, 0x02) toward
// green, each a fraction of the remaining error; they write their values into the sensor's own
// registers, where the host reads them.
#pragma once

#include <cstdint>

#include "sim/sensor_pipeline.h"
#include "sim/sensor_register_file.h"

namespace orvane {

constexpr uint8_t commonBAutoAdjustBit = 0x01; // register 0x13
constexpr uint8_t commonAAgcBit = 0x20;        // register 0x12
constexpr uint8_t commonAAwbBit = 0x04;        // register 0x12

// Whether the sensor runs its loops, and so keeps the host's writes off registers 0x00-0x02.
bool autoAdjusting(const SensorRegisterFile& sensor);

class AutomaticLoops {
public:
    // One sensor frame, seen as measured.
    void afterFrame(SensorRegisterFile& sensor, const LoopMeasure& measured);
    // A soft reset: white balance starts again updating every frame.
    void restart() { *this = AutomaticLoops(); }

private:
    void adjustExposure(SensorRegisterFile& sensor, double luma) const;
    void adjustBalance(SensorRegisterFile& sensor, const LoopMeasure& measured);

    bool balanceSettled_ = false;
    uint64_t framesSettled_ = 0;
};

} // namespace orvane
