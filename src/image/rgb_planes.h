// reconstructRgbPlanes: the colour-mosaic frame of RGB mode enlarged into full-size planes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "geometry/frame_geometry.h"
#include "image/cpu_features.h"
#include "image/frame_buffers.h"
#include "image/rgb_row.h"

namespace orvane {

// Whether a frame of this geometry fits the buffers reconstructRgbPlanes works in: at least 2 x 2
// pixels, imageHeight lines of bytesPerLine bytes in rawFrame, a raw line and an output row in
// each line buffer, the planes in their buffers.
bool rgbFrameFits(const FrameGeometry& geometry);

// The row functions a mosaic frame is made with, chosen once for the frame by the processor's
// features and the row length.
struct MosaicKernels {
    // The even and the odd bytes of a line's first 2 x half bytes.
    using Split = void (*)(const uint8_t* line, std::size_t half, uint8_t* evens, uint8_t* odds);
    // Each of half samples twice.
    using Double = void (*)(const uint8_t* samples, std::size_t half, uint8_t* out);
    // The inner pixels of a row between sample rows a and c.
    using Pairs = void (*)(const uint8_t* a, const uint8_t* c, uint8_t* out, std::size_t pairs);
    // A chroma pair's upper and lower rows between a and c.
    using PairsTwice = void (*)(const uint8_t* a, const uint8_t* c, uint8_t* out0, uint8_t* out1,
                                std::size_t pairs);
    // Two green rows, between a and b and between b and c.
    using PairsOverlapping = void (*)(const uint8_t* a, const uint8_t* b, const uint8_t* c,
                                      uint8_t* out0, uint8_t* out1, std::size_t pairs);
    Split splitLine;
    Double doubleRow;
    Pairs greenPairs, upperPairs, lowerPairs;
    PairsTwice chromaPairs;
    PairsOverlapping greenPairsOverlapping;
};
MosaicKernels mosaicKernels(CpuFeatures cpu, std::size_t pairs);

// The output rows of a mosaic frame, top to bottom, each built straight from the raw lines around
// it: the mosaic (even lines green, blue; odd lines red, green) split line by line, and the
// rows filled by the fixed weighted interpolation (weights summing to 10, integer division).
// Rows 0 and 1 are sample rows doubled; a 2-line frame repeats row 0 in row 1 of blue and red,
// and an odd line count's last blue and red row repeats the row above. Bytes of a raw line
// beyond imageWidth are ignored; bytes a line lacks count as 0. The geometry must pass
// rgbFrameFits.
class MosaicRows {
public:
    MosaicRows(std::span<const uint8_t> raw, const FrameGeometry& geometry, CpuFeatures cpu);
    // Output row y (0 to imageHeight - 1) of each colour, imageWidth pixels each. Rows taken in
    // order read every raw line once.
    void row(std::size_t y, RgbRow out);
    // Rows y and y + 1 for an even y from 2 with y + 1 < imageHeight, the sample rows they share
    // read once.
    void rowPair(std::size_t y, RgbRow first, RgbRow second);

    // Rows from to to - 1 (to at most the height) in order, two at a time where they pair:
    // rowFor(y) says where row y goes and done(y) is called once it is written.
    template <typename RowFor, typename Done>
    void each(RowFor rowFor, Done done, std::size_t from = 0, std::size_t to = SIZE_MAX) {
        to = std::min(to, height_);
        std::size_t y = from;
        for (; y < to && (y < 2 || y % 2 == 1); ++y) {
            row(y, rowFor(y));
            done(y);
        }
        for (; y + 1 < to; y += 2) {
            rowPair(y, rowFor(y), rowFor(y + 1));
            done(y);
            done(y + 1);
        }
        if (y < to) {
            row(y, rowFor(y));
            done(y);
        }
    }

private:
    struct SplitLine {
        std::size_t number = SIZE_MAX;
        std::array<uint8_t, lineBufferSize / 2> evens;
        std::array<uint8_t, lineBufferSize / 2> odds;
    };
    const SplitLine& line(std::size_t number);
    const uint8_t* blueSamples(std::size_t k);
    const uint8_t* redSamples(std::size_t k);
    const uint8_t* greenSamples(std::size_t r);

    std::span<const uint8_t> raw_;
    std::size_t width_;
    std::size_t height_;
    std::size_t bytesPerLine_;
    std::size_t half_;
    MosaicKernels kernels_;
    std::array<SplitLine, 4> lines_{};
};

// Every row of MosaicRows over rawFrame into bluePlane, greenPlane and redPlane. Does nothing
// when rgbFrameFits is false; the upload refuses such geometries before.
void reconstructRgbPlanes(FrameBuffers& buffers, const FrameGeometry& geometry,
                          CpuFeatures cpu = processorFeatures());

} // namespace orvane
