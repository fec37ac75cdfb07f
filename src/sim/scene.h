// Scene: the picture the simulated camera looks at, the built-in test picture and the PPM loader.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "orvane/status.h"

namespace orvane {

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// An RGB picture, row after row, top row first. Never empty.
class Scene {
public:
    // pixels holds width x height entries; a mismatch or an empty size gives a 1 x 1 black scene.
    Scene(uint32_t width, uint32_t height, std::vector<Rgb> pixels);

    uint32_t width() const { return width_; }
    uint32_t height() const { return height_; }
    Rgb pixel(uint32_t x, uint32_t y) const { return pixels_[std::size_t{y} * width_ + x]; }
    const std::vector<Rgb>& pixels() const { return pixels_; }

private:
    uint32_t width_;
    uint32_t height_;
    std::vector<Rgb> pixels_;
};

// A width x height scene whose pixel at (x, y) is pixel(x, y).
template <typename Pixel> Scene paintedScene(uint32_t width, uint32_t height, Pixel pixel) {
    std::vector<Rgb> pixels;
    pixels.reserve(std::size_t{width} * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x)
            pixels.push_back(pixel(x, y));
    }
    return Scene(width, height, std::move(pixels));
}

// The built-in picture: eight colour bars across the top half (white on the left, black on the
// right), a grey ramp below them (dark on the left), and a large white "F" in the lower-left
// corner, so a mirrored or upside-down frame is obvious at a glance.
Scene builtinScene();

constexpr uint32_t builtinSceneWidth = 640;
constexpr uint32_t builtinSceneHeight = 480;

// Where the built-in "F" sits: its top-left corner and the size of one glyph cell.
constexpr uint32_t builtinGlyphLeft = 32;
constexpr uint32_t builtinGlyphTop = 328;
constexpr uint32_t builtinGlyphCell = 20;

// Largest width and height a picture file may declare; keeps a corrupt header from asking for
// gigabytes.
constexpr uint32_t maxSceneSide = 8192;

// What a PPM header declares: the size, and where the pixel data starts.
struct PpmHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    std::size_t dataOffset = 0;
    std::size_t fileSize() const { return dataOffset + std::size_t{3} * width * height; }
};

// Parses the header of a binary PPM (magic "P6", width and height at most maxSceneSide, maxval
// 255, '#' comments allowed) from the first bytes of a file. A refusal (InvalidArgument) says
// why; cutShort then tells whether the bytes ended inside the header.
Status parsePpmHeader(std::span<const uint8_t> bytes, PpmHeader& header, bool& cutShort);

// Parses a binary PPM into scene (InvalidArgument: why not). Bytes after the pixel data are
// ignored.
Status parsePpm(std::span<const uint8_t> bytes, std::optional<Scene>& scene);

// The most header bytes the file reader looks at before it knows the size.
constexpr std::size_t maxPpmHeaderBytes = 65536;

// Reads and parses a binary PPM file. Only a regular file is read (a directory, device or FIFO is
// refused without blocking), the header is checked before any pixel is read, and no more bytes
// are read than the header declares. Every refusal (FileError) names the file and the reason.
Status loadPpmScene(const std::filesystem::path& path, std::optional<Scene>& scene);

} // namespace orvane
