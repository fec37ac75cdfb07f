// writeRegister: one write transaction on the two-wire control bus, bit-banged on the
// parallel port's control register, with its trace lines.
#pragma once

#include <cstdint>

#include "port/bus_pacing.h"
#include "port/port_io.h"
#include "port/tick_counter.h"
#include "port/trace_sink.h"

namespace orvane {

// The sensor's write address 0x42, stored complemented like every byte on the wire.
constexpr uint8_t sensorSlaveId = 0xBD;

// One sub-address and one value, both true values, as sent to the sensor.
struct RegisterWrite {
    uint8_t subAddress;
    uint8_t value;
    friend bool operator==(const RegisterWrite&, const RegisterWrite&) = default;
};

// What a bus transaction drives and reports to.
struct ControlBus {
    PortIo& port;
    TraceSink& trace;
    TickCounter& ticks;
};

// Sends start, slave ID, sub-address, value and stop: 86 control-port writes, each followed by
// the port's bus hold, 109 trace lines
// (each written pacing.traceRepeat times) and pacing.trailerLines trailer lines. Nothing is read
// and nothing can fail; the control register is left idle at 0x20.
void writeRegister(ControlBus& bus, uint8_t subAddress, uint8_t value, const BusPacing& pacing);

} // namespace orvane
