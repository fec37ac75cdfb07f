// The probe's port checks with a fake kernel tree and a fake device: each fault on its check with
// what to do, and the port written only once it is claimed.
#include "port/port_probe.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "image/temp_directory.h"
#include "port/hardware_fakes.h"

namespace orvane {
namespace {

TEST(PortProbe, EachFaultOnItsCheckAndThePortWrittenOnlyOnceClaimed) {
    const testing::RequestLog claimedAndTested = {"open DEVICE", "claim",   "direction in",
                                                  "write 0x55",  "read",    "write 0xaa",
                                                  "read",        "release", "close"};
    const struct {
        const char* name;
        std::function<void(const std::filesystem::path& tree, testing::ParportBehaviour&)> fault;
        const char* check;
        ProbeResult result;
        std::string text;
        testing::RequestLog requests;
    } cases[] = {
        {"healthy", nullptr, "modes", ProbeResult::Passed,
         "parport0 at 0x378 offers PCSPP,TRISTATE,COMPAT,EPP,ECP", claimedAndTested},
        {"lp holds the port",
         [](const auto& tree, auto&) { std::ofstream(tree / "devices" / "active") << "lp\n"; },
         "driver", ProbeResult::Failed,
         "the lp driver holds parport0: stop it (sudo rmmod lp, and a line 'blacklist lp'",
         claimedAndTested},
        {"no TRISTATE",
         [](const auto& tree, auto&) { std::ofstream(tree / "modes") << "PCSPP,COMPAT\n"; },
         "modes", ProbeResult::Failed,
         "offers PCSPP,COMPAT and no bidirectional (TRISTATE) mode: set the port to PS/2",
         claimedAndTested},
        {"the port echoes", [](const auto&, auto& device) { device.echoesData = true; },
         "turnaround", ProbeResult::Failed,
         "read 0x55 and 0xAA: the port still drives its data lines, as in SPP", claimedAndTested},
        {"the claim fails",
         [](const auto&, auto& device) { device.claimError = EBUSY; },
         "claim",
         ProbeResult::Failed,
         "parport0: Device or resource busy; stop the programs that use the port",
         {"open DEVICE", "claim", "close"}},
        {"no device",
         [](const auto& tree, auto&) { std::filesystem::remove(tree / "link"); },
         "device",
         ProbeResult::Failed,
         "parport0: No such file or directory; load the port drivers",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDirectory directory;
        // The device: a name like the kernel's for a character device that takes no harm.
        const std::filesystem::path device = directory.path() / "dev" / "parport0";
        const std::filesystem::path tree = directory.path() / "parport" / "parport0";
        std::filesystem::create_directories(device.parent_path());
        std::filesystem::create_directories(tree / "devices");
        std::filesystem::create_symlink("/dev/null", device);
        std::filesystem::create_symlink(device, tree / "link");
        std::ofstream(tree / "modes") << "PCSPP,TRISTATE,COMPAT,EPP,ECP\n";
        std::ofstream(tree / "base-addr") << "888\t1912\n";
        std::ofstream(tree / "devices" / "active") << "none\n";
        testing::ParportBehaviour behaviour;
        if (c.fault)
            c.fault(tree, behaviour);
        if (!std::filesystem::exists(tree / "link"))
            std::filesystem::remove(device);
        testing::RequestLog requests;
        PortProbeSetting setting{
            directory.path() / "parport",
            [&] { return std::make_unique<testing::FakeParportDevice>(requests, behaviour); }};
        const std::vector<ProbeCheck> lines = probeParportDevice(device.string(), setting);
        ASSERT_EQ(lines.size(), 6u);
        // The check named has its result; no other fails, and on a healthy port all pass.
        for (const ProbeCheck& line : lines) {
            if (line.check == c.check) {
                EXPECT_EQ(line.result, c.result);
                EXPECT_NE(line.text.find(c.text), std::string::npos) << line.text;
            } else {
                EXPECT_NE(line.result, ProbeResult::Failed) << line.check << ": " << line.text;
                if (c.result == ProbeResult::Passed) {
                    EXPECT_EQ(line.result, ProbeResult::Passed) << line.check;
                }
            }
        }
        testing::RequestLog expected = c.requests;
        for (std::string& request : expected) {
            if (request == "open DEVICE")
                request = "open " + device.string();
        }
        EXPECT_EQ(requests, expected);
    }
}

} // namespace
} // namespace orvane
