// Raw stills as DNG: the colour mosaic of one frame, lossless, with what a raw converter needs
// to develop it (the cells' colours, the black and white levels) and what it was taken with.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "orvane/export.h"
#include "orvane/status.h"

namespace orvane {

// One mosaic frame as PixelFormat::Mosaic captures it: a byte a cell, rows of green and blue
// cells over rows of red and green ones.
struct DngStill {
    std::span<const uint8_t> mosaic;
    uint32_t width = 0;
    uint32_t height = 0;
    std::size_t stride = 0;                     // bytes from row to row; 0: width
    std::chrono::system_clock::time_point time; // when it was captured
    std::string_view description;               // written as the image description
};

// Writes still as a DNG 1.4 file at path, 8 bits a cell, uncompressed, with the 2 x 2 cell
// pattern, the black and white levels of the sensor's output codes (16 and 240) and the capture
// time. The file appears whole or not at all. InvalidArgument for an empty or odd-sized frame or
// memory too small for it; FileError, saying why, when the file cannot be written.
ORVANE_API Status writeDng(const std::filesystem::path& path, const DngStill& still);

} // namespace orvane
