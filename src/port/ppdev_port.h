// PortIo over the Linux parallel-port device (/dev/parportN): the program's port writes and
// reads become ppdev requests; a bus transaction's control writes are held for the minimum time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "orvane/status.h"
#include "port/hold_clock.h"
#include "port/port_io.h"

namespace orvane {

constexpr std::string_view defaultParportDevice = "/dev/parport0";

// The requests the backend makes of a parallel-port device. Set-up requests return 0 or an errno
// value; the requests made per byte report nothing, like PortIo itself.
class ParportDevice {
public:
    virtual ~ParportDevice() = default;
    virtual int open(const std::string& path) = 0;
    virtual int claim() = 0;
    // The PARPORT_MODE_* bits of the modes the port can work in, or an errno value.
    struct Modes {
        int error;
        uint32_t modes;
    };
    virtual Modes availableModes() = 0;
    virtual int setMode(int ieee1284Mode) = 0;
    // STROBE, AUTOFD, INIT and SELECT-IN as register bits 0 to 3.
    virtual void writeControl(uint8_t lines) = 0;
    // true: the data lines are inputs, driven by the camera.
    virtual void setDataDirection(bool input) = 0;
    virtual uint8_t readData() = 0;
    // The data register; only the probe's turnaround test writes it.
    virtual void writeData(uint8_t value) = 0;
    virtual void release() = 0;
    virtual void close() = 0;
};

// The device through /dev/parportN and its ioctls.
std::unique_ptr<ParportDevice> makeLinuxParportDevice();

// What an open or a claim of path that failed with error means, and what to do.
std::string ppdevOpenFailure(const std::string& path, int error);
std::string ppdevClaimFailure(const std::string& path, int error);

// Translates the three registers the program uses:
// - a control write is one PPWCONTROL with bits 0 to 3, preceded by a PPDATADIR when bit 5 (data
//   direction) differs from the last one asked for (or on the first write, as the direction the
//   port was left in is unknown); bit 4 (interrupt enable) and bits 6 and 7 are always 0 in the
//   program's writes and are not passed on. No hold follows: holdBusLevel, which bus
//   transactions call after each write, busy-waits controlHoldTime;
// - a data read is one PPRDATA, with no hold;
// - the first extended-control write that asks for the bidirectional byte mode sets that mode;
//   later ones change nothing.
// Every other access is ignored, as the program makes none: writes are dropped and reads give
// 0xFF, what an absent register reads as.
class PpdevPort final : public PortIo {
public:
    // Takes a device that is open and claimed; releases and closes it when destroyed.
    PpdevPort(std::unique_ptr<ParportDevice> device, std::unique_ptr<HoldClock> clock);
    ~PpdevPort() override;
    PpdevPort(const PpdevPort&) = delete;
    PpdevPort& operator=(const PpdevPort&) = delete;

    void writePort(uint16_t port, uint8_t value) override;
    uint8_t readPort(uint16_t port) override;
    void holdBusLevel() override;

private:
    std::unique_ptr<ParportDevice> device_;
    std::unique_ptr<HoldClock> clock_;
    bool directionKnown_ = false;
    bool dataInput_ = false;
    bool byteModeSet_ = false;
};

// Opens path, claims the port and checks that it can turn its data lines around. On a failure
// (PortError: what failed, on which device, why, and what to do) whatever was taken is given
// back: a claimed port is released, an open device closed.
Status openPpdevPort(const std::string& path, std::unique_ptr<ParportDevice> device,
                     std::unique_ptr<HoldClock> clock, std::unique_ptr<PpdevPort>& port);

} // namespace orvane
