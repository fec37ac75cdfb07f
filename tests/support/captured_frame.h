// One frame captured whole into memory of its own, the capture's status checked.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "orvane/camera.h"

namespace orvane::testing {

inline std::vector<uint8_t> captured(Camera& camera, PixelFormat format,
                                     FrameInfo* info = nullptr) {
    FrameLayout layout;
    EXPECT_TRUE(camera.layout(format, layout).ok());
    std::vector<uint8_t> memory(layout.bytes);
    const Status status = camera.capture(format, memory, 0, info);
    EXPECT_TRUE(status.ok()) << status.message();
    return memory;
}

} // namespace orvane::testing
