// ProgramState: the program-wide data the dialog's handlers work on, owned by the dialog.
#pragma once

#include <filesystem>

#include "image/frame_buffers.h"
#include "image/frame_geometry.h"
#include "port/write_register.h"
#include "sensor/register_shadow.h"

namespace orvane {

class ViewerLauncher;

struct ProgramState {
    ProgramState(PortIo& port, TraceSink& trace, TickCounter& ticks, ViewerLauncher& viewerLauncher,
                 std::filesystem::path directory)
        : bus{port, trace, ticks}, viewer(viewerLauncher), workDirectory(std::move(directory)) {}

    RegisterShadow shadow;
    FrameGeometry geometry;
    FrameBuffers buffers;
    ControlBus bus;
    ViewerLauncher& viewer;
    std::filesystem::path workDirectory; // where the raw, BMP and template files live
};

} // namespace orvane
