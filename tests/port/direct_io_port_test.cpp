// The direct port I/O backend: grant, then drop root at once, failing closed; the instructions
// behind each port access, with one hold per control write of a bus transaction.
#include "port/direct_io_port.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/live_frame.h"
#include "port/hardware_fakes.h"
#include "port/init_parallel_port.h"
#include "port/parallel_port.h"
#include "port/write_register.h"
#include "support/port_fakes.h"

namespace orvane {
namespace {

using testing::FakePortInstructions;
using testing::FakePrivilegeCalls;
using testing::PrivilegeBehaviour;
using testing::RequestLog;
using testing::SteppingHoldClock;
using testing::sudoFromUser1000;

// Finding the user, granting, and the drop, as one log.
const RequestLog openingRequests = {"getenv SUDO_UID",
                                    "getenv SUDO_GID",
                                    "getuid",
                                    "getgid",
                                    "grant 0x378 3",
                                    "grant 0x77a 1",
                                    "account 1000 1000",
                                    "setgroups 1000 24 27",
                                    "setresgid 1000",
                                    "setresuid 1000",
                                    "getresuid",
                                    "getresgid",
                                    "getgroups",
                                    "setuid 0",
                                    "setgid 0"};

struct OpenDirect {
    explicit OpenDirect(PrivilegeBehaviour behaviour = sudoFromUser1000(),
                        std::map<uint16_t, int> grantErrors = {})
        : privileges(log, std::move(behaviour)) {
        status = openDirectIoPort(std::make_unique<FakePortInstructions>(log, grantErrors),
                                  privileges, std::make_unique<SteppingHoldClock>(log), opening);
    }
    PortIo& port() { return *opening.port; }

    RequestLog log;
    FakePrivilegeCalls privileges;
    DirectIoOpened opening;
    Status status;
};

TEST(DirectIoPort, GrantsThePortsThenDropsRootBeforeAnythingElse) {
    OpenDirect bench;
    ASSERT_NE(bench.opening.port, nullptr) << bench.status.message();
    EXPECT_EQ(bench.log, openingRequests);
    EXPECT_EQ(bench.privileges.currentUserIds(), (IdTriple<uid_t>{1000, 1000, 1000}));
    EXPECT_EQ(bench.privileges.currentGroupIds(), (IdTriple<gid_t>{1000, 1000, 1000}));
    EXPECT_EQ(bench.opening.description,
              "direct port I/O on 0x378-0x37A and 0x77A, running as uid 1000 gid 1000");
}

TEST(DirectIoPort, ClosingGivesThePermissionsBack) {
    auto bench = std::make_unique<OpenDirect>();
    RequestLog& log = bench->log;
    ASSERT_NE(bench->opening.port, nullptr);
    log.clear();
    bench->opening.port.reset();
    EXPECT_EQ(log, (RequestLog{"revoke 0x378 3", "revoke 0x77a 1"}));
}

TEST(DirectIoPort, EveryBusWriteIsHeldAndTheCaptureIsNot) {
    OpenDirect bench;
    ASSERT_NE(bench.opening.port, nullptr);
    bench.log.clear();
    PortIo& port = bench.port();
    orvane::testing::SteppingTickCounter ticks;
    CountingTraceSink trace;
    ControlBus bus{port, trace, ticks};
    std::vector<uint8_t> frame(2);

    initParallelPort(port);
    writeRegister(bus, 0x12, 0x80, uploadSecondWritePacing);
    captureFrame(port, trace, FrameGeometry{2, 1, 1, 2}, frame);

    const auto control = [](RequestLog& log, unsigned value, bool held) {
        log.push_back("out 0x37a " + testing::hex(value));
        if (held)
            log.insert(log.end(), {"clock", "clock"});
    };
    RequestLog expected = {"out 0x77a 0x20"};
    control(expected, 0x20, false);
    orvane::testing::RecordingPort referee;
    ControlBus refereeBus{referee, trace, ticks};
    writeRegister(refereeBus, 0x12, 0x80, uploadSecondWritePacing);
    for (const uint8_t value : referee.writtenTo(ParallelPort::controlPort))
        control(expected, value, true); // the whole value, direction bit included
    for (const unsigned value : {0x25, 0x21})
        control(expected, value, false);
    for (int byte = 0; byte < 2; ++byte) {
        expected.push_back("in 0x378");
        control(expected, 0x20, false);
        control(expected, 0x21, false);
    }
    EXPECT_EQ(bench.log, expected);
    EXPECT_EQ(frame, (std::vector<uint8_t>{0xA5, 0xA6}));
}

TEST(DirectIoPort, PortsTheProgramNeverUsesAreIgnored) {
    OpenDirect bench;
    ASSERT_NE(bench.opening.port, nullptr);
    bench.log.clear();
    PortIo& port = bench.port();
    port.writePort(ParallelPort::dataPort, 0x55);
    port.writePort(ParallelPort::statusPort, 0x55);
    port.writePort(0x80, 0x01);
    EXPECT_EQ(port.readPort(ParallelPort::statusPort), 0xFF);
    EXPECT_EQ(port.readPort(ParallelPort::controlPort), 0xFF);
    EXPECT_EQ(port.readPort(0x3F8), 0xFF);
    EXPECT_TRUE(bench.log.empty());
}

TEST(DirectIoPort, WithoutPortInstructionsItIsNotAvailable) {
    RequestLog log;
    FakePrivilegeCalls privileges(log, sudoFromUser1000());
    DirectIoOpened opening;
    const Status status =
        openDirectIoPort(nullptr, privileges, std::make_unique<SteppingHoldClock>(log), opening);
    EXPECT_EQ(opening.port, nullptr);
    EXPECT_NE(status.message().find("not available on this processor"), std::string::npos);
    EXPECT_NE(status.message().find("ORVANE_PORT=ppdev"), std::string::npos);
    EXPECT_TRUE(log.empty()) << "nothing is granted and no id changes";
}

TEST(DirectIoPort, WithoutRootTheGrantIsRefusedAndNothingElseHappens) {
    PrivilegeBehaviour user;
    user.realUid = 1000;
    user.realGid = 1000;
    OpenDirect bench(user, {{0x378, EPERM}});
    EXPECT_EQ(bench.opening.port, nullptr);
    EXPECT_EQ(bench.log, (RequestLog{"getenv SUDO_UID", "getenv SUDO_GID", "getuid", "getgid",
                                     "grant 0x378 3"}));
    EXPECT_EQ(bench.status.message(),
              "cannot get access to ports 0x378-0x37A: Operation not permitted; direct port I/O "
              "needs root: run the panel with sudo (a kernel locked down by Secure Boot refuses "
              "even root), or use ORVANE_PORT=ppdev");
}

TEST(DirectIoPort, ASystemWithoutPortInstructionsForProgramsPointsToPpdev) {
    OpenDirect bench(sudoFromUser1000(), {{0x378, ENOSYS}});
    EXPECT_EQ(bench.opening.port, nullptr);
    EXPECT_EQ(bench.status.message(),
              "cannot get access to ports 0x378-0x37A: Function not implemented; this system "
              "gives no program the port instructions (a container or a virtual machine): use "
              "ORVANE_PORT=ppdev");
    EXPECT_EQ(std::count(bench.log.begin(), bench.log.end(), "setresuid 1000"), 0);
}

TEST(DirectIoPort, AFailedSecondGrantGivesTheFirstBack) {
    OpenDirect bench(sudoFromUser1000(), {{0x77A, EINVAL}});
    EXPECT_EQ(bench.opening.port, nullptr);
    const RequestLog tail(bench.log.end() - 3, bench.log.end());
    EXPECT_EQ(tail, (RequestLog{"grant 0x378 3", "grant 0x77a 1", "revoke 0x378 3"}));
    EXPECT_EQ(bench.status.message(), "cannot get access to ports 0x77A: Invalid argument; run the "
                                      "panel with sudo, or use ORVANE_PORT=ppdev");
}

TEST(DirectIoPort, NoUserToDropToMeansNothingIsGranted) {
    PrivilegeBehaviour rootLogin; // all ids 0, no sudo
    OpenDirect bench(rootLogin);
    EXPECT_EQ(bench.opening.port, nullptr);
    EXPECT_EQ(bench.log, (RequestLog{"getenv SUDO_UID", "getenv SUDO_GID", "getuid", "getgid"}));
    EXPECT_NE(bench.status.message().find("no user to drop root to"), std::string::npos);
}

struct DropFailure {
    const char* name;
    PrivilegeBehaviour behaviour;
    std::string lastCall;
    std::string saying;
};

void PrintTo(const DropFailure& failure, std::ostream* out) {
    *out << failure.name;
}

PrivilegeBehaviour sudoWith(void (*change)(PrivilegeBehaviour&)) {
    PrivilegeBehaviour behaviour = sudoFromUser1000();
    change(behaviour);
    return behaviour;
}

// Each step of the drop is covered where the drop is tested; here it is enough that a failure
// early and one late both give the ports back.
const DropFailure dropFailures[] = {
    {"SetGroups", sudoWith([](PrivilegeBehaviour& b) { b.setGroupsError = EPERM; }),
     "setgroups 1000 24 27", "setgroups: Operation not permitted"},
    {"RootComesBack", sudoWith([](PrivilegeBehaviour& b) { b.rootComesBack = true; }), "setuid 0",
     "root could be taken back"},
};

class DirectIoDropFailure : public ::testing::TestWithParam<DropFailure> {};

TEST_P(DirectIoDropFailure, FailsClosedGivingThePortsBack) {
    const DropFailure& failure = GetParam();
    OpenDirect bench(failure.behaviour);
    EXPECT_EQ(bench.opening.port, nullptr);
    const RequestLog tail(bench.log.end() - 3, bench.log.end());
    EXPECT_EQ(tail, (RequestLog{failure.lastCall, "revoke 0x378 3", "revoke 0x77a 1"}));
    EXPECT_EQ(bench.status.message(), "cannot drop root to uid 1000 gid 1000: " + failure.saying +
                                          "; the port was not opened");
}

INSTANTIATE_TEST_SUITE_P(EachStep, DirectIoDropFailure, ::testing::ValuesIn(dropFailures),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace orvane
