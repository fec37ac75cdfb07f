// The frame upload on the panel.
#include "app/panel_upload.h"

#include <array>
#include <cstdio>
#include <string>

#include "app/panel_settings.h"
#include "image/frame_signal.h"
#include "image/image_files.h"
#include "image/live_frame.h"
#include "resources/control_ids.h"
#include "resources/control_labels.h"
#include "resources/panel_templates.h"
#include "toolkit/panel_numbers.h"

namespace orvane {
namespace {

void showFileMessage(Panel& panel, FileResult result) {
    if (const auto message = fileMessage(result))
        panel.messageBox(message->text, message->caption);
}

// One axis of the window and the side of the frame it gives.
struct WindowAxis {
    int startId;
    int endId;
    uint32_t FrameGeometry::*side;
    const char* leaves; // what a window too small on this axis leaves of the frame
};

constexpr std::array<WindowAxis, 2> windowAxes{{
    {ControlId::windowHStart, ControlId::windowHEnd, &FrameGeometry::imageWidth, "no pixels"},
    {ControlId::windowVStart, ControlId::windowVEnd, &FrameGeometry::imageHeight,
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
        // The fields as the panel labels them: "Horizontal Start 40 and End 30".
        const std::string start =
            fieldLabel(controlPanelTemplate, *findControl(controlPanelTemplate, axis.startId));
        const std::string end =
            fieldLabel(controlPanelTemplate, *findControl(controlPanelTemplate, axis.endId));
        if (fromFields)
            std::snprintf(text, sizeof text, "%s %d and %s %d leave %s.", start.c_str(),
                          editNumber(panel, axis.startId), end.substr(end.rfind(' ') + 1).c_str(),
                          editNumber(panel, axis.endId), axis.leaves);
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

Status uploadFrame(CameraDevice& device, ViewerLauncher& viewer,
                   const std::filesystem::path& directory, Panel& panel) {
    const FrameGeometry geometry = device.geometry;
    const uint8_t dataFormat = device.shadow.mode.dataFormat;
    if (!frameFitsBuffers(geometry, dataFormat)) {
        panel.messageBox(doesNotFitMessage(geometry, panel, dataFormat), improperRangeCaption);
        return {};
    }

    FileResult result = FileResult::ok;
    Status signal;
    {
        BusyScope busy(panel);
        // The files are written while the sensor keeps its upload setting; whatever happens to
        // them, it is switched back before the operator is told.
        device.capture([&] {
            FrameBuffers& buffers = device.buffers;
            signal = frameSignal(buffers.rawFrame(), geometry.linesToRead, geometry.bytesPerLine);
            result = writeRawDump(directory, buffers.rawFrame(), geometry);
            if (result == FileResult::ok)
                result = readBmpHeader(directory, buffers.bmpHeader());
            if (result == FileResult::ok) {
                device.convert();
                result = BmpWriter(directory, buffers, geometry);
            }
            if (result == FileResult::ok)
                viewer.launchViewer();
        });
    }
    showFileMessage(panel, result);
    return signal;
}

} // namespace orvane
