// The frame check for a signal.
#include "image/frame_signal.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace orvane {
namespace {

constexpr uint8_t undriven = 0xFF;

std::string hexByte(uint8_t value) {
    char text[5];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string allOneValue(uint8_t value) {
    const std::string seen = "every byte of the frame read " + hexByte(value) + ": ";
    if (value == undriven)
        return seen + "nothing drives the data lines; check the cable, the module's power and "
                      "that the device names the port the module is on";
    if (value == 0x00)
        return seen + "the module does not answer; check that it is powered (its supply, and the "
                      "cable's power line)";
    return seen + "the port drives its own data lines instead of reading them; set the port to "
                  "bidirectional (PS/2, EPP or ECP) in the firmware setup, or use another port";
}

} // namespace

Status frameSignal(std::span<const uint8_t> raw, uint32_t lines, uint32_t bytesPerLine) {
    const std::size_t size = std::min(raw.size(), std::size_t{lines} * bytesPerLine);
    if (size == 0 || bytesPerLine == 0)
        return {};
    const std::span<const uint8_t> frame = raw.first(size);
    if (std::all_of(frame.begin(), frame.end(), [&](uint8_t b) { return b == frame[0]; }))
        return {StatusCode::NoSignal, allOneValue(frame[0])};
    // The lines at the end that read nothing but 0xFF, counted back from the last.
    const auto lastNotUndriven =
        std::find_if(frame.rbegin(), frame.rend(), [](uint8_t b) { return b != undriven; });
    const std::size_t undrivenAtEnd = std::size_t(lastNotUndriven - frame.rbegin());
    const uint32_t deadLines = uint32_t(undrivenAtEnd / bytesPerLine);
    if (deadLines == 0)
        return {};
    const uint32_t first = uint32_t(size / bytesPerLine) - deadLines;
    return {StatusCode::NoSignal,
            "the frame's last " + std::to_string(deadLines) + " of " +
                std::to_string(size / bytesPerLine) + " lines read 0xFF (from line " +
                std::to_string(first) +
                " on): the module stopped sending part-way through the frame; check the cable "
                "and that the module's supply holds up while it sends"};
}

} // namespace orvane
