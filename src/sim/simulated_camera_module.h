// SimulatedCameraModule: a PortIo that stands in for the camera module on the parallel port.
// It turns every control-register write into connector line levels, decodes the two-wire bus
// from them and applies the sensor's write transactions to its register file.
#pragma once

#include <cstdint>
#include <vector>

#include "port/port_io.h"
#include "sim/bus_decoder.h"
#include "sim/sensor_register_file.h"

namespace orvane {

// A port access the camera module's wiring never expects.
struct UnexpectedAccess {
    bool write;
    uint16_t port;
    uint8_t value;
    friend bool operator==(const UnexpectedAccess&, const UnexpectedAccess&) = default;
};

class SimulatedCameraModule final : public PortIo {
public:
    void writePort(uint16_t port, uint8_t value) override;
    uint8_t readPort(uint16_t port) override;

    const BusDecoder& bus() const { return bus_; }
    const SensorRegisterFile& sensor() const { return sensor_; }
    uint8_t controlRegister() const { return control_; }
    uint8_t extendedControlRegister() const { return ecr_; }
    const std::vector<UnexpectedAccess>& unexpectedAccesses() const { return unexpected_; }

private:
    void noteUnexpected(bool write, uint16_t port, uint8_t value);

    BusDecoder bus_;
    SensorRegisterFile sensor_;
    uint8_t control_ = 0x00; // every line idle: clock and data high
    uint8_t ecr_ = 0x00;
    std::vector<UnexpectedAccess> unexpected_;
};

} // namespace orvane
