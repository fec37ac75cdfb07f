// uploadFrame: the "&Upload" button. Switches the sensor to its upload setting, reads one frame
// through the port, writes the raw and BMP files, starts the viewer and switches the sensor back.
#pragma once

#include <filesystem>

#include "app/viewer_launch.h"
#include "camera/camera_device.h"
#include "orvane/status.h"
#include "toolkit/panel.h"

namespace orvane {

// The whole upload. A geometry that does not fit is refused with a message before anything is
// sent. A file that cannot be written ends the upload with its message; the sensor is always
// switched back to its normal setting first. Returns NoSignal, saying what was seen, for a frame
// read from nothing (its files are written all the same).
Status uploadFrame(CameraDevice& device, ViewerLauncher& viewer,
                   const std::filesystem::path& directory, Panel& panel);

} // namespace orvane
