// The BMP header template "bmphead24": the 54 bytes every uploaded BMP starts from.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace orvane {

constexpr std::string_view bmpHeaderTemplateName = "bmphead24";

// File header and information header of an uncompressed (BI_RGB) 24-bit, bottom-up BMP of the
// start-up geometry, 312 x 208: file size 194742, pixel data at 54, image size 194688,
// 2835 pixels per metre both ways. Width and height hold 0 in their upper 16 bits, so patching
// their low 16 bits gives any frame's size.
std::array<uint8_t, 54> bmpHeaderTemplate();

// Creates or replaces "bmphead24" in directory. False when it cannot be written.
bool writeBmpHeaderTemplate(const std::filesystem::path& directory);

} // namespace orvane
