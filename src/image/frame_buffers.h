// FrameBuffers: the long-lived image buffers, allocated once when the panel opens and freed once
// at Exit. Their sizes bound the geometry an upload accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace orvane {

// Large enough for the widest window the checks allow in RGB (624 pixels, 627 bytes per line).
constexpr std::size_t maxFrameWidth = 640;
constexpr std::size_t maxFrameHeight = 500;
constexpr std::size_t bmpHeaderSize = 54;

constexpr std::size_t frameBufferSize = maxFrameWidth * maxFrameHeight;
constexpr std::size_t lineBufferSize = maxFrameWidth;
constexpr std::size_t bmpImageSize = bmpHeaderSize + 3 * frameBufferSize;

class FrameBuffers {
public:
    // Allocates the eleven buffers in order; false (and nothing held) if memory runs out.
    // The contents are not cleared.
    bool allocate();
    // Frees them in Exit's order. Safe to call again; only the first call frees.
    void release();
    bool allocated() const { return rawFrame_ != nullptr; }
    std::size_t releaseCount() const { return releaseCount_; }

    std::span<uint8_t> rawFrame() { return {rawFrame_.get(), frameBufferSize}; }
    std::span<const uint8_t> rawFrame() const { return {rawFrame_.get(), frameBufferSize}; }
    std::span<uint8_t> lineA() { return {lineA_.get(), lineBufferSize}; }
    std::span<uint8_t> lineB() { return {lineB_.get(), lineBufferSize}; }
    std::span<uint8_t> blueSamples() { return {blueSamples_.get(), frameBufferSize}; }
    std::span<uint8_t> greenSamples() { return {greenSamples_.get(), frameBufferSize}; }
    std::span<uint8_t> redSamples() { return {redSamples_.get(), frameBufferSize}; }
    std::span<uint8_t> bluePlane() { return {bluePlane_.get(), frameBufferSize}; }
    std::span<uint8_t> greenPlane() { return {greenPlane_.get(), frameBufferSize}; }
    std::span<uint8_t> redPlane() { return {redPlane_.get(), frameBufferSize}; }
    std::span<uint8_t> bmpHeader() { return {bmpHeader_.get(), bmpHeaderSize}; }
    std::span<uint8_t> bmpImage() { return {bmpImage_.get(), bmpImageSize}; }

private:
    void freeAll();

    std::unique_ptr<uint8_t[]> rawFrame_;
    std::unique_ptr<uint8_t[]> lineA_;
    std::unique_ptr<uint8_t[]> lineB_;
    std::unique_ptr<uint8_t[]> blueSamples_;
    std::unique_ptr<uint8_t[]> greenSamples_;
    std::unique_ptr<uint8_t[]> redSamples_;
    std::unique_ptr<uint8_t[]> bluePlane_;
    std::unique_ptr<uint8_t[]> greenPlane_;
    std::unique_ptr<uint8_t[]> redPlane_;
    std::unique_ptr<uint8_t[]> bmpHeader_;
    std::unique_ptr<uint8_t[]> bmpImage_;
    std::size_t releaseCount_ = 0;
};

} // namespace orvane
