// The frame upload.
#include "image/upload_frame.h"

#include <array>
#include <cstdio>
#include <string>

#include "image/image_files.h"
#include "image/live_frame.h"
#include "image/rgb_planes.h"
#include "port/parallel_port.h"
#include "resources/control_ids.h"
#include "sensor/apply_settings.h"
#include "sensor/register_masks.h"
#include "toolkit/panel_numbers.h"

namespace orvane {
namespace {

// Control values of the frame handshake: INIT high with STROBE low starts a frame; each STROBE
// pulse (high, then low again) asks for the next byte.
constexpr uint8_t frameStart = 0x25;
constexpr uint8_t strobeLow = 0x21;
constexpr uint8_t strobeHigh = 0x20;
constexpr std::string_view waitLine = "pleasw wait\n";

void showFileMessage(Panel& panel, FileResult result) {
    if (const auto message = fileMessage(result))
        panel.messageBox(message->text, message->caption);
}

// One axis of the window and the side of the frame it gives.
struct WindowAxis {
    const char* name;
    int startId;
    int endId;
    uint32_t FrameGeometry::*side;
    const char* leaves; // what a window too small on this axis leaves of the frame
};

constexpr std::array<WindowAxis, 2> windowAxes{{
    {"Horizontal", ControlId::windowHStart, ControlId::windowHEnd, &FrameGeometry::imageWidth,
     "no pixels"},
    {"Vertical", ControlId::windowVStart, ControlId::windowVEnd, &FrameGeometry::imageHeight,
     "fewer than two lines"},
}};

// A side below 2, or one that wrapped round from a negative difference, is named by the window
// numbers that gave it when the window fields still give this geometry; a frame too large for
// the buffers is named by its size.
std::string doesNotFitMessage(const FrameGeometry& g, const Panel& panel, uint8_t dataFormat) {
    char text[256];
    const bool fromFields = geometryFromWindowFields(panel, dataFormat) == g;
    for (const WindowAxis& axis : windowAxes) {
        if (static_cast<int32_t>(g.*axis.side) >= 2)
            continue;
        if (fromFields)
            std::snprintf(text, sizeof text, "%s Start %d and End %d leave %s.", axis.name,
                          editNumber(panel, axis.startId), editNumber(panel, axis.endId),
                          axis.leaves);
        else
            std::snprintf(text, sizeof text, "The window set last leaves %s.", axis.leaves);
        return std::string(text) +
               "\n\nSet a larger window and press Set Register before uploading.";
    }
    std::snprintf(text, sizeof text,
                  "The frame of %u x %u pixels (%u lines of %u bytes) does not fit the frame "
                  "buffers.\n\nSet a smaller window and press Set Register before uploading.",
                  g.imageWidth, g.imageHeight, g.linesToRead, g.bytesPerLine);
    return text;
}

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
                  std::span<uint8_t> rawFrame) {
    port.writePort(ParallelPort::controlPort, frameStart);
    trace.writeLine(waitLine);
    trace.writeLine(waitLine);
    port.writePort(ParallelPort::controlPort, strobeLow);
    trace.writeLine(waitLine);
    trace.writeLine(waitLine);
    // The byte rate is set by the port accesses alone: nothing else happens in this loop.
    const std::size_t count = std::size_t{geometry.linesToRead} * geometry.bytesPerLine;
    uint8_t* out = rawFrame.data();
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = port.readPort(ParallelPort::dataPort);
        port.writePort(ParallelPort::controlPort, strobeHigh);
        port.writePort(ParallelPort::controlPort, strobeLow);
    }
}

void uploadFrame(UploadContext& upload, Panel& panel) {
    const FrameGeometry geometry = upload.geometry;
    const uint8_t dataFormat = upload.shadow.mode.dataFormat;
    const uint8_t reg13Value = upload.shadow.reg(0x13).value;
    if (!frameFitsBuffers(geometry, dataFormat)) {
        panel.messageBox(doesNotFitMessage(geometry, panel, dataFormat), improperRangeCaption);
        return;
    }

    FileResult result = FileResult::ok;
    {
        BusyScope busy(panel);
        writeRegister(upload.bus, 0x13, addMask(reg13Value, uploadBit), uploadFirstWritePacing);
        captureFrame(upload.bus.port, upload.bus.trace, geometry, upload.buffers.rawFrame());

        FrameBuffers& buffers = upload.buffers;
        result = writeRawDump(upload.directory, buffers.rawFrame(), geometry);
        if (result == FileResult::ok)
            result = readBmpHeader(upload.directory, buffers.bmpHeader());
        if (result == FileResult::ok) {
            convertFrame(buffers, geometry, dataFormat);
            result = BmpWriter(upload.directory, buffers, geometry);
        }
        if (result == FileResult::ok)
            upload.viewer.launchViewer();

        // Whatever happened, the sensor leaves its upload setting before the operator is told.
        writeRegister(upload.bus, 0x13, reg13Value, uploadSecondWritePacing);
    }
    showFileMessage(panel, result);
}

} // namespace orvane
