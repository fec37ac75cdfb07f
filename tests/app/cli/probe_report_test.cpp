// orvane-cli --probe on the simulated module: each fault is named on the line of the check that
// finds it, with what to do, and a healthy module passes every check on every scene, in the dark
// too.
#include "app/cli/probe_report.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvane {
namespace {

TEST(ProbeReport, NamesEachFaultOnItsCheckAndPassesEveryHealthyScene) {
    const struct {
        std::string device;
        std::string line; // a line of the report, whole or its start
    } faults[] = {
        {"sim:fault=absent", "FAIL  frame: every byte of the frame read 0xFF: nothing drives"},
        {"sim:fault=unpowered", "FAIL  frame: every byte of the frame read 0x00: the module"},
        {"sim:fault=no-turnaround", "FAIL  frame: every byte of the frame read 0x00"},
        {"sim:fault=short-frame", "FAIL  frame: the frame's last 104 of 208 lines read 0xFF"},
        {"sim:fault=stuck-low:3",
         "FAIL  data lines: data line D3 read 0 in all 260,416 bytes: check the cable and its "
         "connector"},
        {"sim:fault=stuck-high:7,reference", "FAIL  data lines: data line D7 read 1 in all"},
        {"sim:fault=deaf", "FAIL  bus: the picture does not follow the brightness written"},
        {"lpt9", "FAIL  open: device \"lpt9\" is not a known port backend"},
    };
    for (const auto& c : faults) {
        std::ostringstream out;
        EXPECT_EQ(runProbe(c.device, out), 1) << c.device;
        EXPECT_NE(("\n" + out.str()).find("\n" + c.line), std::string::npos) << out.str();
    }
    for (const char* scene : {"card", "chart", "edge", "flat", "moving", "ramp"}) {
        for (const char* light : {"", ",lux=0"}) {
            const std::string device = std::string("sim:scene=") + scene + light;
            std::ostringstream out;
            EXPECT_EQ(runProbe(device, out), 0) << out.str();
            EXPECT_TRUE(out.str().ends_with("\nprobe: 4 of 4 checks passed\n")) << out.str();
        }
    }
}

} // namespace
} // namespace orvane
