// initParallelPort: exactly two writes, ECR then control register, and no read.
#include "port/init_parallel_port.h"

#include <gtest/gtest.h>

#include "support/port_fakes.h"

namespace orvane {
namespace {

TEST(InitParallelPort, WritesEcrThenControlAndReadsNothing) {
    testing::RecordingPort port;
    initParallelPort(port);
    const std::vector<testing::PortAccess> expected = {{true, 0x77A, 0x20}, {true, 0x37A, 0x20}};
    EXPECT_EQ(port.accesses(), expected);
}

} // namespace
} // namespace orvane
