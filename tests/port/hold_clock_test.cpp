// The control hold: a busy wait that reads the clock until the hold time has passed.
#include "port/hold_clock.h"

#include <gtest/gtest.h>

#include "port/hardware_fakes.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

struct HoldCase {
    std::chrono::nanoseconds step;
    std::size_t reads; // the first reading, then one per step until 5 us have passed
};

void PrintTo(const HoldCase& hold, std::ostream* out) {
    *out << hold.step.count() << " ns per read, " << hold.reads << " reads";
}

class BusyWaitReads : public ::testing::TestWithParam<HoldCase> {};

TEST_P(BusyWaitReads, UntilTheHoldTimeHasPassed) {
    testing::RequestLog log;
    testing::SteppingHoldClock clock(log, GetParam().step);
    busyWait(clock, controlHoldTime);
    EXPECT_EQ(log.size(), GetParam().reads);
}

INSTANTIATE_TEST_SUITE_P(Steps, BusyWaitReads,
                         ::testing::Values(HoldCase{1us, 6}, HoldCase{2us, 4}, HoldCase{4999ns, 3},
                                           HoldCase{5us, 2}, HoldCase{7us, 2},
                                           HoldCase{100ns, 51}));

TEST(BusyWait, OnTheMonotonicClockLastsAtLeastTheHoldTime) {
    MonotonicHoldClock clock;
    const auto start = std::chrono::steady_clock::now();
    busyWait(clock, controlHoldTime);
    EXPECT_GE(std::chrono::steady_clock::now() - start, controlHoldTime);
}

} // namespace
} // namespace orvane
