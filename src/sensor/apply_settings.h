// applySettings: the "&Set Register" command.
#pragma once

#include <vector>

#include "image/frame_geometry.h"
#include "port/write_register.h"
#include "sensor/register_shadow.h"
#include "toolkit/panel.h"

namespace orvane {

constexpr const char* improperRangeCaption = "Improper range";
// The box that ends a Set Register which sent something.
constexpr const char* allRegistersSetText = "All registers were set!";

// Checks and corrects the window fields, recomputes the frame geometry from the corrected window,
// sends every pending register (and the free register typed into the panel) one transaction
// each in write order, reports "All registers were set!" and clears every flag. Returns the
// writes it sent; an empty list sends nothing, shows nothing and changes no flag.
std::vector<RegisterWrite> applySettings(RegisterShadow& shadow, FrameGeometry& geometry,
                                         ControlBus& bus, Panel& panel);

// The geometry of the frame the sensor delivers for the window in the panel's window fields.
FrameGeometry geometryFromWindowFields(const Panel& panel, uint8_t dataFormat);

} // namespace orvane
