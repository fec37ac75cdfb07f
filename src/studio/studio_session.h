// StudioSession: the studio's device side. The panel's dialog logic on a headless panel, driven
// by orvane-cli command lines, and the live capture of frames into memory. Everything here runs
// on one thread, the worker's; the window only sees copies of what it produces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/frame_geometry.h"
#include "resources/dialog_template.h"
#include "studio/frame_histogram.h"

namespace orvane {

class PortIo;
class TraceSink;

// One control of the panel as the dialog left it.
struct ControlValue {
    int id = 0;
    ControlKind kind = ControlKind::StaticText;
    std::string text; // edit or label text
    bool checked = false;
    int minimum = 0;
    int maximum = 0;
    int position = 0;
    friend bool operator==(const ControlValue&, const ControlValue&) = default;
};
using ControlValues = std::vector<ControlValue>;

class HeadlessPanel;

// Every control of the panel with an ID, in template order.
ControlValues controlValuesOf(const HeadlessPanel& panel);

// The control with the given ID, or nullptr.
const ControlValue* findValue(const ControlValues& values, int id);

// A captured frame, converted.
struct LiveFrame {
    FrameGeometry geometry;
    uint8_t dataFormat = 0;
    std::vector<uint8_t> raw; // linesToRead x bytesPerLine bytes as read from the port
    std::vector<uint8_t> rgb; // imageWidth x imageHeight pixels of R, G, B, top row first
    FrameHistogram histogram;
    double portMilliseconds = 0;       // register writes and the frame handshake
    double conversionMilliseconds = 0; // planes, pixels and histogram
};

class StudioSession {
public:
    // The dialog works on port and writes its trace to trace; files would go to directory.
    StudioSession(PortIo& port, TraceSink& trace, std::filesystem::path directory);
    ~StudioSession();
    StudioSession(const StudioSession&) = delete;
    StudioSession& operator=(const StudioSession&) = delete;

    // The panel's initialisation and one Set Register, as the studio starts. False when the
    // frame buffers cannot be allocated; the port is then untouched.
    bool start();

    // Runs orvane-cli command lines in order. Returns what an operator should read: what the
    // panel would have shown in message boxes (caption: text), notes, and refused or bad lines.
    // "All registers were set!" is left out. Commands that would end the panel, write files or
    // start the viewer are refused: the live view keeps them.
    std::vector<std::string> run(std::span<const std::string> lines);

    // Every control with an ID, in template order.
    ControlValues controls() const;

    // One frame with the upload's own wire sequence, converted. False, with nothing sent, when
    // the current geometry does not fit the buffers.
    bool capture(LiveFrame& frame);

    // Why the last capture failed, for the status bar.
    std::string captureProblem() const;

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

} // namespace orvane
