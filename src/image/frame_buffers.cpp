// Allocation and release of the frame buffers.
#include "image/frame_buffers.h"

#include <new>

namespace orvane {

bool FrameBuffers::allocate() {
    try {
        // for_overwrite: the buffers are not cleared, each upload overwrites what it uses.
        rawFrame_ = std::make_unique_for_overwrite<uint8_t[]>(frameBufferSize);
        lineA_ = std::make_unique_for_overwrite<uint8_t[]>(lineBufferSize);
        lineB_ = std::make_unique_for_overwrite<uint8_t[]>(lineBufferSize);
        blueSamples_ = std::make_unique_for_overwrite<uint8_t[]>(frameBufferSize);
        greenSamples_ = std::make_unique_for_overwrite<uint8_t[]>(frameBufferSize);
        redSamples_ = std::make_unique_for_overwrite<uint8_t[]>(frameBufferSize);
        bluePlane_ = std::make_unique_for_overwrite<uint8_t[]>(frameBufferSize);
        greenPlane_ = std::make_unique_for_overwrite<uint8_t[]>(frameBufferSize);
        redPlane_ = std::make_unique_for_overwrite<uint8_t[]>(frameBufferSize);
        bmpHeader_ = std::make_unique_for_overwrite<uint8_t[]>(bmpHeaderSize);
        bmpImage_ = std::make_unique_for_overwrite<uint8_t[]>(bmpImageSize);
    } catch (const std::bad_alloc&) {
        freeAll();
        return false;
    }
    return true;
}

void FrameBuffers::release() {
    if (!allocated())
        return;
    freeAll();
    ++releaseCount_;
}

void FrameBuffers::freeAll() {
    rawFrame_.reset();
    redPlane_.reset();
    greenPlane_.reset();
    bluePlane_.reset();
    redSamples_.reset();
    greenSamples_.reset();
    blueSamples_.reset();
    lineA_.reset();
    lineB_.reset();
    bmpHeader_.reset();
    bmpImage_.reset();
}

} // namespace orvane
