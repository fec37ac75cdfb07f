// The direct port I/O backend: the processor's instructions, the register access and the
// opening sequence with the privilege drop.
#include "port/direct_io_port.h"

#include <array>
#include <cerrno>
#include <cstdio>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>
#define ORVANE_HAS_PORT_INSTRUCTIONS 1
#else
#define ORVANE_HAS_PORT_INSTRUCTIONS 0
#endif

#include "port/errno_advice.h"
#include "port/parallel_port.h"

namespace orvane {
namespace {

#if ORVANE_HAS_PORT_INSTRUCTIONS
class X86PortInstructions final : public PortInstructions {
public:
    int grant(uint16_t first, uint16_t count) override {
        return ::ioperm(first, count, 1) == 0 ? 0 : errno;
    }
    void revoke(uint16_t first, uint16_t count) override { (void)::ioperm(first, count, 0); }
    void out(uint16_t port, uint8_t value) override { ::outb(value, port); }
    uint8_t in(uint16_t port) override { return ::inb(port); }
};
#endif

struct PortRange {
    uint16_t first;
    uint16_t count;
};

// Data, status and control registers, and the extended control register.
constexpr std::array<PortRange, 2> grantedPorts{{
    {ParallelPort::dataPort, 3},
    {ParallelPort::ecrPort, 1},
}};

// What to do when ioperm refuses, by errno; the last entry covers every other errno.
constexpr std::array grantAdvice{
    ErrnoAdvice{EPERM, "direct port I/O needs root: run the panel with sudo (a kernel locked "
                       "down by Secure Boot refuses even root), or use ORVANE_PORT=ppdev"},
    ErrnoAdvice{ENOSYS, "this system gives no program the port instructions (a container or a "
                        "virtual machine): use ORVANE_PORT=ppdev"},
    ErrnoAdvice{0, "run the panel with sudo, or use ORVANE_PORT=ppdev"},
};

std::string rangeText(const PortRange& range) {
    std::array<char, 32> text{};
    const unsigned last = range.first + range.count - 1u;
    if (range.count > 1)
        std::snprintf(text.data(), text.size(), "0x%X-0x%X", unsigned{range.first}, last);
    else
        std::snprintf(text.data(), text.size(), "0x%X", unsigned{range.first});
    return text.data();
}

void revokeAll(PortInstructions& instructions, std::size_t granted) {
    for (std::size_t i = 0; i < granted; ++i)
        instructions.revoke(grantedPorts[i].first, grantedPorts[i].count);
}

} // namespace

std::unique_ptr<PortInstructions> makeProcessorPortInstructions() {
#if ORVANE_HAS_PORT_INSTRUCTIONS
    return std::make_unique<X86PortInstructions>();
#else
    return nullptr;
#endif
}

DirectIoPort::DirectIoPort(std::unique_ptr<PortInstructions> instructions,
                           std::unique_ptr<HoldClock> clock)
    : instructions_(std::move(instructions)), clock_(std::move(clock)) {}

DirectIoPort::~DirectIoPort() {
    revokeAll(*instructions_, grantedPorts.size());
}

void DirectIoPort::writePort(uint16_t port, uint8_t value) {
    if (port == ParallelPort::controlPort || port == ParallelPort::ecrPort)
        instructions_->out(port, value);
}

void DirectIoPort::holdBusLevel() {
    busyWait(*clock_, controlHoldTime);
}

uint8_t DirectIoPort::readPort(uint16_t port) {
    if (port == ParallelPort::dataPort)
        return instructions_->in(port);
    return 0xFF;
}

Status openDirectIoPort(std::unique_ptr<PortInstructions> instructions, PrivilegeCalls& privileges,
                        std::unique_ptr<HoldClock> clock, DirectIoOpened& opened) {
    opened = DirectIoOpened{};
    if (instructions == nullptr) {
        return {StatusCode::PortError, "direct port I/O is not available on this processor (only "
                                       "x86 has port instructions); use ORVANE_PORT=ppdev"};
    }
    // Who to drop to is settled before anything is granted, so a refusal leaves nothing behind.
    UserIdentity user{};
    if (Status found = findInvokingUser(privileges, user); !found)
        return found;

    for (std::size_t i = 0; i < grantedPorts.size(); ++i) {
        const PortRange& range = grantedPorts[i];
        if (const int error = instructions->grant(range.first, range.count); error != 0) {
            revokeAll(*instructions, i);
            return {StatusCode::PortError,
                    failureMessage("cannot get access to ports " + rangeText(range), error,
                                   grantAdvice)};
        }
    }

    // The port permissions stay with the thread through the change of user.
    if (const Status dropped = dropPrivileges(privileges, user); !dropped) {
        revokeAll(*instructions, grantedPorts.size());
        return {dropped.code(), dropped.message() + "; the port was not opened"};
    }
    opened.port = std::make_unique<DirectIoPort>(std::move(instructions), std::move(clock));
    opened.description = "direct port I/O on 0x378-0x37A and 0x77A, running as uid " +
                         std::to_string(user.uid) + " gid " + std::to_string(user.gid);
    return {};
}

} // namespace orvane
