// The ppdev backend: the device requests behind each port access, the opening sequence, and
// what a failure says and gives back.
#include "port/ppdev_port.h"

#include <gtest/gtest.h>

#include <linux/parport.h>

#include "port/hardware_fakes.h"
#include "port/init_parallel_port.h"
#include "port/parallel_port.h"
#include "port/write_register.h"
#include "support/port_fakes.h"
#include "support/reset_write.h"

namespace orvane {
namespace {

using testing::FakeParportDevice;
using testing::hex;
using testing::ParportBehaviour;
using testing::RequestLog;
using testing::SteppingHoldClock;

const std::vector<uint8_t>& resetWrites = testing::resetWriteControlValues;

// The requests of one control write: the lines, then, on the bus, one hold (two reads of a clock
// that steps by the whole hold time).
void expectControl(RequestLog& expected, unsigned lines, bool held = true) {
    expected.push_back("control " + hex(lines));
    if (held)
        expected.insert(expected.end(), {"clock", "clock"});
}

struct OpenPpdev {
    explicit OpenPpdev(ParportBehaviour behaviour = {}) {
        status = openPpdevPort("/dev/parport0",
                               std::make_unique<FakeParportDevice>(log, std::move(behaviour)),
                               std::make_unique<SteppingHoldClock>(log), opened);
    }
    PortIo& port() { return *opened; }

    RequestLog log; // outlives the port, which logs its release
    std::unique_ptr<PpdevPort> opened;
    Status status;
};

TEST(PpdevPort, OpeningClaimsAndChecksTheModesAndClosingReleases) {
    RequestLog log;
    {
        std::unique_ptr<PpdevPort> opened;
        EXPECT_TRUE(openPpdevPort("/dev/parport1", std::make_unique<FakeParportDevice>(log),
                                  std::make_unique<SteppingHoldClock>(log), opened));
        ASSERT_NE(opened, nullptr);
        EXPECT_EQ(log, (RequestLog{"open /dev/parport1", "claim", "modes"}));
    }
    EXPECT_EQ(log, (RequestLog{"open /dev/parport1", "claim", "modes", "release", "close"}));
}

TEST(PpdevPort, RegisterWriteBecomesControlRequestsWithDirectionOnlyWhereBit5Changes) {
    OpenPpdev bench;
    ASSERT_NE(bench.opened, nullptr);
    bench.log.clear();
    orvane::testing::SteppingTickCounter ticks;
    MemoryTraceSink trace;
    ControlBus bus{bench.port(), trace, ticks};

    writeRegister(bus, 0x12, 0x80, uploadFirstWritePacing);

    // The direction is unknown before the first write; only the slave-ID acknowledge (write 28)
    // turns the data lines to output, and the next write turns them back.
    RequestLog expected;
    for (std::size_t i = 0; i < resetWrites.size(); ++i) {
        if (i == 0 || i == 29)
            expected.push_back("direction in");
        if (i == 28)
            expected.push_back("direction out");
        expectControl(expected, resetWrites[i] & 0x0Fu);
    }
    ASSERT_EQ(resetWrites.size(), 86u);
    EXPECT_EQ(bench.log, expected);
    EXPECT_EQ(trace.lines().size(), 2u * 109u) << "the trace is unchanged by the backend";
}

TEST(PpdevPort, SetUpAndUploadHandshakeReadTheDataBetweenStrobePulses) {
    ParportBehaviour behaviour;
    behaviour.data = {0x11, 0x22, 0x33};
    OpenPpdev bench(behaviour);
    ASSERT_NE(bench.opened, nullptr);
    bench.log.clear();
    PortIo& port = bench.port();

    initParallelPort(port);
    port.writePort(ParallelPort::controlPort, 0x25);
    port.writePort(ParallelPort::controlPort, 0x21);
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 3; ++i) {
        bytes.push_back(port.readPort(ParallelPort::dataPort));
        port.writePort(ParallelPort::controlPort, 0x20);
        port.writePort(ParallelPort::controlPort, 0x21);
    }

    // Only bus transactions hold: the set-up and the handshake go at the port's own pace.
    RequestLog expected = {"mode " + std::to_string(IEEE1284_MODE_BYTE), "direction in"};
    expectControl(expected, 0x00, false);
    expectControl(expected, 0x05, false); // INIT high, STROBE low
    expectControl(expected, 0x01, false);
    for (int i = 0; i < 3; ++i) {
        expected.push_back("read");
        expectControl(expected, 0x00, false);
        expectControl(expected, 0x01, false);
    }
    EXPECT_EQ(bench.log, expected);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0x11, 0x22, 0x33}));
}

TEST(PpdevPort, ByteModeIsSetOnceHoweverOftenTheEcrIsWritten) {
    OpenPpdev bench;
    ASSERT_NE(bench.opened, nullptr);
    bench.log.clear();
    // Modes other than byte mode are never asked for by the program and change nothing.
    for (const uint8_t value : {0x00, 0x60, 0x20, 0x20, 0x34, 0xE0})
        bench.port().writePort(ParallelPort::ecrPort, value);
    EXPECT_EQ(bench.log, (RequestLog{"mode " + std::to_string(IEEE1284_MODE_BYTE)}));
}

TEST(PpdevPort, PortsTheProgramNeverUsesAreIgnored) {
    OpenPpdev bench;
    ASSERT_NE(bench.opened, nullptr);
    bench.log.clear();
    PortIo& port = bench.port();
    port.writePort(ParallelPort::dataPort, 0x55);
    port.writePort(ParallelPort::statusPort, 0x55);
    port.writePort(0x278, 0x20);
    EXPECT_EQ(port.readPort(ParallelPort::statusPort), 0xFF);
    EXPECT_EQ(port.readPort(ParallelPort::controlPort), 0xFF);
    EXPECT_EQ(port.readPort(ParallelPort::ecrPort), 0xFF);
    EXPECT_TRUE(bench.log.empty());
}

TEST(PpdevPort, ControlBitsOutsideTheLinesNeverReachTheControlRequest) {
    OpenPpdev bench;
    ASSERT_NE(bench.opened, nullptr);
    bench.log.clear();
    bench.port().writePort(ParallelPort::controlPort, 0xFF);
    bench.port().writePort(ParallelPort::controlPort, 0x10);
    RequestLog expected = {"direction in"};
    expectControl(expected, 0x0F, false);
    expected.push_back("direction out");
    expectControl(expected, 0x00, false);
    EXPECT_EQ(bench.log, expected);
}

struct FailureCase {
    const char* name;
    ParportBehaviour behaviour;
    RequestLog requests; // everything asked of the device, including what is given back
    std::vector<std::string> saying;
};

void PrintTo(const FailureCase& failure, std::ostream* out) {
    *out << failure.name;
}

ParportBehaviour failing(int ParportBehaviour::*field, int error) {
    ParportBehaviour behaviour;
    behaviour.*field = error;
    return behaviour;
}

ParportBehaviour withModes(uint32_t modes) {
    ParportBehaviour behaviour;
    behaviour.modes = modes;
    return behaviour;
}

const FailureCase failureCases[] = {
    {"MissingDevice",
     failing(&ParportBehaviour::openError, ENOENT),
     {"open /dev/parport0"},
     {"cannot open /dev/parport0: No such file or directory;", "modprobe parport_pc ppdev"}},
    {"NotInGroupLp",
     failing(&ParportBehaviour::openError, EACCES),
     {"open /dev/parport0"},
     {"cannot open /dev/parport0: Permission denied;", "add yourself to group lp"}},
    {"NoPortBehindTheDevice",
     failing(&ParportBehaviour::openError, ENXIO),
     {"open /dev/parport0"},
     {"cannot open /dev/parport0: No such device or address;", "modprobe parport_pc"}},
    {"OtherOpenError",
     failing(&ParportBehaviour::openError, EIO),
     {"open /dev/parport0"},
     {"cannot open /dev/parport0: Input/output error;", "modprobe parport_pc ppdev", "group lp"}},
    {"ClaimOnSomethingElse",
     failing(&ParportBehaviour::claimError, ENOTTY),
     {"open /dev/parport0", "claim", "close"},
     {"cannot claim the port on /dev/parport0: Inappropriate ioctl for device;",
      "not a parallel-port device"}},
    {"ClaimRefused",
     failing(&ParportBehaviour::claimError, EBUSY),
     {"open /dev/parport0", "claim", "close"},
     {"cannot claim the port on /dev/parport0: Device or resource busy;", "rmmod lp"}},
    {"ModesUnreadable",
     failing(&ParportBehaviour::modesError, ENOTTY),
     {"open /dev/parport0", "claim", "modes", "release", "close"},
     {"cannot read the modes of the port on /dev/parport0: Inappropriate ioctl for device"}},
    {"NoBidirectionalMode",
     withModes(PARPORT_MODE_PCSPP | PARPORT_MODE_COMPAT),
     {"open /dev/parport0", "claim", "modes", "release", "close"},
     {"the port on /dev/parport0 cannot turn its data lines around", "PS/2, EPP or ECP"}},
};

class PpdevOpenFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(PpdevOpenFailure, SaysWhatFailedAndGivesBackWhatWasTaken) {
    const FailureCase& failure = GetParam();
    OpenPpdev bench(failure.behaviour);
    EXPECT_EQ(bench.opened, nullptr);
    EXPECT_EQ(bench.log, failure.requests);
    for (const std::string& part : failure.saying)
        EXPECT_NE(bench.status.message().find(part), std::string::npos) << bench.status.message();
}

INSTANTIATE_TEST_SUITE_P(EachStep, PpdevOpenFailure, ::testing::ValuesIn(failureCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane
