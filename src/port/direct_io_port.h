// PortIo through the processor's port instructions after ioperm, for x86 Linux started with
// sudo; root is dropped as soon as the ports are granted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "port/hold_clock.h"
#include "port/port_io.h"
#include "port/privileges.h"

namespace orvane {

// The processor's port access. grant returns 0 or an errno value.
class PortInstructions {
public:
    virtual ~PortInstructions() = default;
    virtual int grant(uint16_t first, uint16_t count) = 0;
    virtual void revoke(uint16_t first, uint16_t count) = 0;
    virtual void out(uint16_t port, uint8_t value) = 0;
    virtual uint8_t in(uint16_t port) = 0;
};

// inb/outb and ioperm; null where the processor has no port instructions (anything but x86).
std::unique_ptr<PortInstructions> makeProcessorPortInstructions();

// Control and extended-control writes go out as they are, the data register is read as it is;
// holdBusLevel busy-waits the minimum hold, which bus transactions ask for after each control
// write; the frame handshake goes at the port's own pace. Any other access is ignored (writes
// dropped, reads give 0xFF), as the program makes none. The permissions belong to the thread
// that opened the port, which must be the one that uses it.
class DirectIoPort final : public PortIo {
public:
    DirectIoPort(std::unique_ptr<PortInstructions> instructions, std::unique_ptr<HoldClock> clock);
    // Gives the port permissions back.
    ~DirectIoPort() override;
    DirectIoPort(const DirectIoPort&) = delete;
    DirectIoPort& operator=(const DirectIoPort&) = delete;

    void writePort(uint16_t port, uint8_t value) override;
    uint8_t readPort(uint16_t port) override;
    void holdBusLevel() override;

private:
    std::unique_ptr<PortInstructions> instructions_;
    std::unique_ptr<HoldClock> clock_;
};

struct DirectIoOpened {
    std::unique_ptr<DirectIoPort> port;
    std::string description; // the ports and the user the program now runs as
};

// Finds the user to drop to, grants 0x378-0x37A and 0x77A, then drops root at once. Fails
// closed: if any step fails the permissions are given back, no port is opened, and the status
// says what failed and what to do. instructions is null where the processor has none.
Status openDirectIoPort(std::unique_ptr<PortInstructions> instructions, PrivilegeCalls& privileges,
                        std::unique_ptr<HoldClock> clock, DirectIoOpened& opened);

} // namespace orvane
