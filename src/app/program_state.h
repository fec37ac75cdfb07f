// ProgramState: the program-wide data the dialog's handlers work on, owned by the dialog.
#pragma once

#include <filesystem>

#include "camera/camera_device.h"

namespace orvane {

class ViewerLauncher;

struct ProgramState {
    ProgramState(PortIo& port, TraceSink& trace, TickCounter& ticks, ViewerLauncher& viewerLauncher,
                 std::filesystem::path directory)
        : device(port, trace, ticks), viewer(viewerLauncher), workDirectory(std::move(directory)) {}

    CameraDevice device; // shadow, geometry, buffers and bus
    ViewerLauncher& viewer;
    std::filesystem::path workDirectory; // where the raw, BMP and template files live
};

} // namespace orvane
