// The 54 bytes of "bmphead24", laid out field by field.
#include "resources/bmp_header_template.h"

#include <cstddef>
#include <cstdio>

namespace orvane {
namespace {

constexpr uint32_t templateWidth = 312;
constexpr uint32_t templateHeight = 208;
constexpr uint32_t pixelDataOffset = 54;
constexpr uint32_t infoHeaderSize = 40;
constexpr uint32_t templateRowStride = (3 * templateWidth + 3) / 4 * 4;
constexpr uint32_t templateImageSize = templateHeight * templateRowStride;
constexpr uint32_t pixelsPerMetre = 2835; // 72 dots per inch
constexpr uint32_t uncompressed = 0;      // BI_RGB

// A little-endian field: offset, width in bytes, value.
struct HeaderField {
    std::size_t offset;
    std::size_t size;
    uint32_t value;
};

constexpr HeaderField headerFields[] = {
    {0, 1, 'B'},
    {1, 1, 'M'},
    {2, 4, pixelDataOffset + templateImageSize}, // file size
    {6, 4, 0},                                   // reserved
    {10, 4, pixelDataOffset},
    {14, 4, infoHeaderSize},
    {18, 4, templateWidth},
    {22, 4, templateHeight}, // positive: bottom row first
    {26, 2, 1},              // planes
    {28, 2, 24},             // bits per pixel
    {30, 4, uncompressed},
    {34, 4, templateImageSize},
    {38, 4, pixelsPerMetre},
    {42, 4, pixelsPerMetre},
    {46, 4, 0}, // colours used
    {50, 4, 0}, // important colours
};

} // namespace

std::array<uint8_t, 54> bmpHeaderTemplate() {
    std::array<uint8_t, 54> header{};
    for (const HeaderField& field : headerFields)
        for (std::size_t i = 0; i < field.size; ++i)
            header[field.offset + i] = static_cast<uint8_t>((field.value >> (8 * i)) & 0xFF);
    return header;
}

bool writeBmpHeaderTemplate(const std::filesystem::path& directory) {
    const std::array<uint8_t, 54> header = bmpHeaderTemplate();
    std::FILE* file = std::fopen((directory / bmpHeaderTemplateName).c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    return std::fclose(file) == 0 && written;
}

} // namespace orvane
