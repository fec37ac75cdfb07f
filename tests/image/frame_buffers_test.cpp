// FrameBuffers: sizes that hold the largest accepted frame, and release exactly once.
#include "image/frame_buffers.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(FrameBuffers, HoldTheLargestRgbWindow) {
    // 482 lines of 627 bytes, and a 624 x 482 BMP with its header.
    EXPECT_GE(frameBufferSize, 482u * 627u);
    EXPECT_GE(lineBufferSize, 627u);
    EXPECT_GE(bmpImageSize, bmpHeaderSize + 482u * 3u * 624u);
}

TEST(FrameBuffers, ReleaseFreesOnceAndLeavesNothingHeld) {
    FrameBuffers buffers;
    ASSERT_TRUE(buffers.allocate());
    EXPECT_TRUE(buffers.allocated());
    EXPECT_EQ(buffers.rawFrame().size(), frameBufferSize);
    EXPECT_EQ(buffers.bmpImage().size(), bmpImageSize);
    buffers.rawFrame().back() = 1; // every byte is addressable
    buffers.bmpImage().back() = 1;
    buffers.release();
    buffers.release();
    EXPECT_FALSE(buffers.allocated());
    EXPECT_EQ(buffers.releaseCount(), 1u);
}

} // namespace
} // namespace orvane
