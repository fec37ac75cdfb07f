// The probe: the port's own checks, then those through the camera.
#include "orvane/probe.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "orvane/camera.h"
#include "port/port_probe.h"
#include "sensor/control_table.h"

namespace orvane {
namespace {

// The brightness of the two frames the data-line and bus checks compare, and the least the mean
// of their bytes must move: the luma moves by 96 codes, which noise and a sensor's own loops
// never come near.
constexpr int32_t darkBrightness = 0x20;
constexpr int32_t brightBrightness = 0xE0;
constexpr double leastMeanChange = 8.0;

// 260416 as "260,416".
std::string grouped(std::size_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

struct RawFrame {
    Status status;
    std::vector<uint8_t> bytes;
};

RawFrame rawFrame(Camera& camera) {
    RawFrame frame;
    FrameLayout layout;
    frame.status = camera.layout(PixelFormat::Raw, layout);
    if (!frame.status)
        return frame;
    frame.bytes.resize(layout.bytes);
    frame.status = camera.capture(PixelFormat::Raw, frame.bytes);
    return frame;
}

double meanOf(const std::vector<uint8_t>& bytes) {
    double sum = 0;
    for (const uint8_t b : bytes)
        sum += b;
    return bytes.empty() ? 0 : sum / double(bytes.size());
}

// A data line that reads the same in every byte of both frames is stuck.
ProbeCheck dataLines(const RawFrame& dark, const RawFrame& bright) {
    uint8_t everyOne = 0xFF, anyOne = 0x00;
    for (const RawFrame* frame : {&dark, &bright}) {
        for (const uint8_t b : frame->bytes) {
            everyOne &= b;
            anyOne |= b;
        }
    }
    const std::size_t bytes = dark.bytes.size() + bright.bytes.size();
    for (int line = 0; line < 8; ++line) {
        const uint8_t bit = uint8_t(1u << line);
        if ((everyOne & bit) != 0 || (anyOne & bit) == 0)
            return {ProbeResult::Failed, "data lines",
                    "data line D" + std::to_string(line) + " read " +
                        ((everyOne & bit) != 0 ? "1" : "0") + " in all " + grouped(bytes) +
                        " bytes: check the cable and its connector"};
    }
    return {ProbeResult::Passed, "data lines",
            "each of D0 to D7 read both 0 and 1 over " + grouped(bytes) + " bytes"};
}

// The only way to check a bus that cannot be read back: what is written to it shows in the
// picture, or the sensor does not hear it.
ProbeCheck bus(const RawFrame& dark, const RawFrame& bright) {
    const double darkMean = meanOf(dark.bytes), brightMean = meanOf(bright.bytes);
    char means[64];
    std::snprintf(means, sizeof means, "mean %.1f at brightness 0x%02X, %.1f at 0x%02X", darkMean,
                  darkBrightness, brightMean, brightBrightness);
    if (brightMean - darkMean >= leastMeanChange)
        return {ProbeResult::Passed, "bus",
                std::string("the sensor hears the two-wire bus: ") + means +
                    " (the bus is write-only; this is the one way to check it)"};
    return {ProbeResult::Failed, "bus",
            std::string("the picture does not follow the brightness written (") + means +
                "): the sensor does not hear the two-wire bus; check the SCL and SDA wiring and "
                "that the module is an OV7610 (the bus is write-only; this is the one way to "
                "check it)"};
}

// A frame is a picture; each data line reads both 0 and 1 over two frames of very different
// brightness; the brightness written over the bus shows in the picture. The camera's own settings
// are set back.
std::vector<ProbeCheck> probeCamera(Camera& camera) {
    std::vector<ProbeCheck> lines;
    const RawFrame first = rawFrame(camera);
    if (first.status)
        lines.push_back({ProbeResult::Passed, "frame",
                         "a picture came, " + grouped(first.bytes.size()) + " bytes"});
    else
        lines.push_back({ProbeResult::Failed, "frame", first.status.message()});
    if (!first.status) {
        for (const char* check : {"data lines", "bus"})
            lines.push_back({ProbeResult::Skipped, check, "no picture came"});
        return lines;
    }
    // Two frames far apart in brightness (register 0x06), with the sensor's own loops (0x13 bit
    // 0) held still.
    const std::string_view loops = controlRowOfRegister(0x13, 0x01)->info.name;
    const std::string_view level = controlRowOfRegister(0x06)->info.name;
    int32_t autoAdjust = 0, brightness = 0;
    camera.get(loops, autoAdjust);
    camera.get(level, brightness);
    camera.set({{{loops, 0}, {level, darkBrightness}}});
    const RawFrame dark = rawFrame(camera);
    camera.set(level, brightBrightness);
    const RawFrame bright = rawFrame(camera);
    camera.set({{{level, brightness}, {loops, autoAdjust}}});
    lines.push_back(dataLines(dark, bright));
    lines.push_back(bus(dark, bright));
    return lines;
}

} // namespace

std::vector<ProbeCheck> probe(std::string_view device, const ProbeOptions& options) {
    std::vector<ProbeCheck> lines;
    // A parallel-port device is checked without the module first; the camera only on a port
    // that passed.
    constexpr std::string_view ppdev = "ppdev";
    if (device == ppdev || device.starts_with(std::string(ppdev) + ":")) {
        PortProbeSetting setting;
        setting.claim = options.driving;
        lines = probeParportDevice(device == ppdev ? std::string(defaultParportDevice)
                                                   : std::string(device.substr(ppdev.size() + 1)),
                                   setting);
    }
    if (!options.driving)
        return lines;
    const bool portFailed = std::any_of(lines.begin(), lines.end(), [](const ProbeCheck& line) {
        return line.result == ProbeResult::Failed;
    });
    Status status;
    std::unique_ptr<Camera> camera = portFailed ? nullptr : Camera::open(device, status);
    if (portFailed) {
        for (const char* check : {"frame", "data lines", "bus"})
            lines.push_back({ProbeResult::Skipped, check, "the port's own checks failed"});
    } else if (camera == nullptr) {
        lines.push_back({ProbeResult::Failed, "open", status.message()});
    } else {
        lines.push_back({ProbeResult::Passed, "open", camera->description()});
        for (ProbeCheck& line : probeCamera(*camera))
            lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace orvane
