// A reader of our own for the Value Change Dumps the recorder writes (one-bit signals, 0/1/x),
// which replays a recording step by step and decodes its two-wire bus and its data reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/bus_decoder.h"

namespace orvane::testing {

// Level of a signal at one step: 0, 1, or unknownLevel.
constexpr int8_t unknownLevel = -1;

struct VcdRecording {
    std::string timescale;
    std::vector<std::string> names;         // signal names in declaration order
    std::vector<std::vector<int8_t>> steps; // levels of every signal at times 0 .. end - 1

    // Index of the signal, or -1.
    int signal(std::string_view name) const;
};

// Parses the file; nothing (and error set) on anything it does not understand.
std::optional<VcdRecording> readVcd(const std::filesystem::path& path, std::string& error);

// Feeds the scl and sda levels of every step to a bus decoder.
BusDecoder decodeBus(const VcdRecording& recording);

// The byte on d7..d0 at every step where read is high.
std::vector<uint8_t> dataReads(const VcdRecording& recording);

// How many times the signal goes from 0 to 1.
std::size_t risingEdges(const VcdRecording& recording, std::string_view name);

} // namespace orvane::testing
