// The panel's "&Set Register": the window fields, sliders and free register read from the panel,
// the plan's corrections shown and written back, the writes sent and "All registers were set!".
#pragma once

#include <vector>

#include "camera/camera_device.h"
#include "toolkit/panel.h"

namespace orvane {

constexpr const char* improperRangeCaption = "Improper range";
// The box that ends a Set Register which sent something.
constexpr const char* allRegistersSetText = "All registers were set!";

// The numbers in the panel's sliders and edits.
SensorFields readSensorFields(const Panel& panel);

// Checks and corrects the window fields, recomputes the frame geometry from the corrected window,
// sends every pending register (and the free register typed into the panel) one transaction
// each in write order, reports "All registers were set!" and clears every flag. Returns the
// writes it sent; an empty list sends nothing, shows nothing and changes no flag.
std::vector<RegisterWrite> applySettings(CameraDevice& device, Panel& panel);

// The geometry of the frame the sensor delivers for the window in the panel's window fields.
FrameGeometry geometryFromWindowFields(const Panel& panel, uint8_t dataFormat);

} // namespace orvane
