// ProgramState: the program-wide data the dialog's handlers work on, owned by the dialog.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>

#include "orvane/status.h"

#include "app/panel_sliders.h"
#include "camera/camera_device.h"

namespace orvane {

class ViewerLauncher;

struct ProgramState {
    ProgramState(PortIo& port, TraceSink& trace, TickCounter& ticks, ViewerLauncher& viewerLauncher,
                 std::filesystem::path directory)
        : device(port, trace, ticks), viewer(viewerLauncher), workDirectory(std::move(directory)) {}

    CameraDevice device;  // shadow, geometry, buffers and bus
    SliderCopies sliders; // what each slider showed when the scroll handler last looked
    ViewerLauncher& viewer;
    std::filesystem::path workDirectory; // where the raw, BMP and template files live
    // Where a frame read from nothing is said in a line (standard error); null says nothing.
    std::ostream* notes = nullptr;
    // What the last upload's frame was: a picture, or NoSignal and why; and how many there were.
    Status frameSignal;
    uint64_t uploads = 0;
};

} // namespace orvane
