// Frames captured and converted in memory.
#include "image/live_frame.h"

#include "image/image_files.h"
#include "image/rgb_planes.h"
#include "image/yuv422_to_rgb.h"
#include "port/parallel_port.h"

namespace orvane {
namespace {

// Control values of the frame handshake: INIT high with STROBE low starts a frame; each STROBE
// pulse (high, then low again) asks for the next byte.
constexpr uint8_t frameStart = 0x25;
constexpr uint8_t strobeLow = 0x21;
constexpr uint8_t strobeHigh = 0x20;
constexpr std::string_view waitLine = "pleasw wait\n";

} // namespace

bool frameFitsBuffers(const FrameGeometry& g, uint8_t dataFormat) {
    if (g.imageWidth < 2 || g.imageHeight < 2 || g.linesToRead == 0 || g.bytesPerLine == 0)
        return false;
    const uint64_t bytesRead = uint64_t{g.linesToRead} * g.bytesPerLine;
    const uint64_t pixels = uint64_t{g.imageWidth} * g.imageHeight;
    const uint64_t bmpLength = bmpHeaderSize + uint64_t{g.imageHeight} * bmpRowStride(g.imageWidth);
    if (bytesRead > frameBufferSize || pixels > frameBufferSize || bmpLength > bmpImageSize)
        return false;
    if (dataFormat == dataFormatRgb)
        return rgbFrameFits(g);
    return true;
}

void captureFrame(PortIo& port, TraceSink& trace, const FrameGeometry& geometry,
                  std::span<uint8_t> rawFrame, const LinesRead& linesRead) {
    port.writePort(ParallelPort::controlPort, frameStart);
    trace.writeLine(waitLine);
    trace.writeLine(waitLine);
    port.writePort(ParallelPort::controlPort, strobeLow);
    trace.writeLine(waitLine);
    trace.writeLine(waitLine);
    // The byte rate is set by the port accesses alone: nothing else happens within a line.
    uint8_t* out = rawFrame.data();
    for (uint32_t line = 0; line < geometry.linesToRead; ++line) {
        for (uint32_t i = 0; i < geometry.bytesPerLine; ++i) {
            *out++ = port.readPort(ParallelPort::dataPort);
            port.writePort(ParallelPort::controlPort, strobeHigh);
            port.writePort(ParallelPort::controlPort, strobeLow);
        }
        if (linesRead)
            linesRead(line + 1);
    }
}

void convertFrame(FrameBuffers& buffers, const FrameGeometry& geometry, uint8_t dataFormat,
                  CpuFeatures cpu) {
    if (dataFormat == dataFormatRgb) {
        reconstructRgbPlanes(buffers, geometry, cpu);
        return;
    }
    Yuv422ToRgb(buffers.rawFrame(), buffers.greenPlane(), buffers.bluePlane(), buffers.redPlane(),
                geometry.imageHeight, geometry.imageWidth, geometry.bytesPerLine, cpu);
}

} // namespace orvane
