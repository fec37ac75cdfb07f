// writeRegister: exact port writes, trace lines, repeats, trailers and tick waits.
#include "port/write_register.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "port/parallel_port.h"
#include "support/port_fakes.h"
#include "support/reset_write.h"

namespace orvane {
namespace {

using testing::RecordingPort;
using testing::SteppingTickCounter;

const std::vector<uint8_t>& resetWrites = testing::resetWriteControlValues;

std::string hexLine(const char* pattern, unsigned a, unsigned b) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

// The 109 trace lines of one transaction, built from its port writes: each data-bit write is
// announced by a "temp=..., out=..." line naming the byte about to be written.
std::vector<std::string> expectedTraceLines(const std::vector<uint8_t>& writes, unsigned s,
                                            unsigned a, unsigned v) {
    struct Names {
        const char *t1, *t2, *t3, *a1, *a2;
    };
    const Names names[3] = {{"press any key3\n", "press any key4\n", "press any key5\n",
                             "press any key6\n", "press any key7\n"},
                            {"press any key3\n", "press any key9\n", "press any key10\n",
                             "press any key11\n", "press any key12\n"},
                            {"press any key13\n", "press any key14\n", "press any key15\n",
                             "press any key16\n", "press any key17\n"}};
    char third[80];
    std::snprintf(third, sizeof third, "slaveID2=%x, subADD2=%x,data2=%x\n", s, a, v);
    std::vector<std::string> lines = {" start setting registers \n",
                                      "press any key1 check uv disable\n", third};
    for (int byte = 0; byte < 3; ++byte) {
        const std::size_t base = 3 + 26 * static_cast<std::size_t>(byte);
        for (std::size_t bit = 0; bit < 8; ++bit) {
            const uint8_t out = writes[base + 3 * bit + 1];
            lines.push_back(names[byte].t1);
            lines.push_back(hexLine("temp=%x,  out=%x\n", out & 0x02u, out));
            lines.push_back(names[byte].t2);
            lines.push_back(names[byte].t3);
        }
        lines.push_back(names[byte].a1);
        lines.push_back(names[byte].a2);
    }
    for (int i = 0; i < 4; ++i)
        lines.push_back("press any key18\n");
    return lines;
}

struct PacingCase {
    const char* name;
    BusPacing pacing;
};

const PacingCase pacingCases[] = {
    {"ApplySettings", applySettingsPacing},
    {"CameraReset", cameraResetPacing},
    {"UploadFirstWrite", uploadFirstWritePacing},
    {"UploadSecondWrite", uploadSecondWritePacing},
};

class WriteRegisterPacing : public ::testing::TestWithParam<PacingCase> {};

TEST_P(WriteRegisterPacing, ResetWriteHasExactPortWritesAndTraceLines) {
    const BusPacing pacing = GetParam().pacing;
    RecordingPort port;
    MemoryTraceSink trace;
    SteppingTickCounter ticks(0, 1);
    ControlBus bus{port, trace, ticks};

    writeRegister(bus, 0x12, 0x80, pacing);

    EXPECT_EQ(port.writtenTo(ParallelPort::controlPort), resetWrites);
    EXPECT_EQ(port.accesses().size(), resetWrites.size()) << "only the control port is written";

    std::vector<std::string> expected;
    for (const std::string& line : expectedTraceLines(resetWrites, 0xBD, 0xED, 0x7F))
        expected.insert(expected.end(), pacing.traceRepeat, line);
    expected.insert(expected.end(), pacing.trailerLines, "press any key18\n");
    EXPECT_EQ(trace.lines(), expected);
    EXPECT_EQ(trace.lines()[2 * pacing.traceRepeat],
              std::string("slaveID2=bd, subADD2=ed,data2=7f\n"));
    EXPECT_EQ(trace.lines()[4 * pacing.traceRepeat], std::string("temp=2,  out=2a\n"));

    // A one-step counter makes each wait read it three times (start, +1, +2).
    EXPECT_EQ(ticks.reads(), pacing.tickWait ? 108u * 3u : 0u);
}

INSTANTIATE_TEST_SUITE_P(AllPacings, WriteRegisterPacing, ::testing::ValuesIn(pacingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WriteRegister, ApplySettingsPacingWrites238LinesPerRegister) {
    RecordingPort port;
    CountingTraceSink trace;
    SteppingTickCounter ticks;
    ControlBus bus{port, trace, ticks};
    writeRegister(bus, 0x05, 0x33, applySettingsPacing);
    EXPECT_EQ(trace.count(), 238u);
}

TEST(WriteRegister, TickWaitsFollowEveryLineButTheFirstAndNoneFollowsTheFinalWrite) {
    std::vector<std::string> events;
    RecordingPort port(nullptr, &events);
    testing::EventTraceSink trace(events);
    SteppingTickCounter ticks(0, 2, &events); // each wait: two reads
    ControlBus bus{port, trace, ticks};

    writeRegister(bus, 0x12, 0x80, cameraResetPacing);

    // Every trace line but the first is followed directly by exactly one wait.
    std::size_t lines = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i][0] != 'T')
            continue;
        ++lines;
        if (lines == 1) {
            EXPECT_EQ(events[i + 1], "W32") << "no wait after the first line";
            continue;
        }
        ASSERT_LT(i + 3, events.size());
        EXPECT_EQ(events[i + 1], "tick");
        EXPECT_EQ(events[i + 2], "tick");
        EXPECT_NE(events[i + 3], "tick");
    }
    EXPECT_EQ(lines, 109u);
    EXPECT_EQ(ticks.reads(), 2u * 108u);
    EXPECT_EQ(events.back(), "W32") << "the final 0x20 write ends the transaction";
}

TEST(WriteRegister, TickWaitUsesUnsignedDifferenceAcrossWrapAround) {
    RecordingPort port;
    CountingTraceSink trace;
    SteppingTickCounter ticks(0xFFFFFFFEu, 1);
    ControlBus bus{port, trace, ticks};
    writeRegister(bus, 0x00, 0x00, cameraResetPacing);
    EXPECT_EQ(ticks.reads(), 108u * 3u);
}

TEST(WriteRegister, OnlyTheSecondSlaveIdAcknowledgeClearsTheDirectionBit) {
    for (const RegisterWrite write : {RegisterWrite{0x00, 0x00}, RegisterWrite{0xFF, 0xFF},
                                      RegisterWrite{0x13, 0x21}, RegisterWrite{0xA5, 0x5A}}) {
        RecordingPort port;
        CountingTraceSink trace;
        SteppingTickCounter ticks;
        ControlBus bus{port, trace, ticks};
        writeRegister(bus, write.subAddress, write.value, uploadSecondWritePacing);
        const std::vector<uint8_t> writes = port.writtenTo(ParallelPort::controlPort);
        ASSERT_EQ(writes.size(), 86u);
        for (std::size_t i = 0; i < writes.size(); ++i) {
            if (i == 28)
                EXPECT_EQ(writes[i], 0x02);
            else
                EXPECT_EQ(writes[i] & 0x20, 0x20) << "write " << i;
            EXPECT_EQ(writes[i] & 0xD5, 0) << "STROBE, INIT, interrupt and bits 6-7 stay clear";
        }
        EXPECT_EQ(writes.back(), 0x20);
    }
}

TEST(WriteRegister, ValueZeroHoldsTheDataLineLowForEveryBitAndStillStops) {
    RecordingPort port;
    CountingTraceSink trace;
    SteppingTickCounter ticks;
    ControlBus bus{port, trace, ticks};
    writeRegister(bus, 0x20, 0x00, uploadSecondWritePacing);
    const std::vector<uint8_t> writes = port.writtenTo(ParallelPort::controlPort);
    // Value byte: writes 55..78 are the eight bits; register bit 1 set = data line low.
    for (std::size_t bit = 0; bit < 8; ++bit) {
        EXPECT_EQ(writes[55 + 3 * bit + 1], 0x2A);
        EXPECT_EQ(writes[55 + 3 * bit + 2], 0x22);
    }
    const std::vector<uint8_t> stop(writes.end() - 5, writes.end());
    EXPECT_EQ(stop, (std::vector<uint8_t>{0x2A, 0x2A, 0x22, 0x22, 0x20}));
}

} // namespace
} // namespace orvane
