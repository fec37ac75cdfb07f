// The built-in test picture and the binary PPM reader.
#include "sim/scene.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include "files/regular_file.h"

namespace orvane {
namespace {

// Colour bars, left to right, in the usual test-card order.
constexpr std::array<Rgb, 8> colourBars{{
    {255, 255, 255}, // white
    {255, 255, 0},   // yellow
    {0, 255, 255},   // cyan
    {0, 255, 0},     // green
    {255, 0, 255},   // magenta
    {255, 0, 0},     // red
    {0, 0, 255},     // blue
    {0, 0, 0},       // black
}};

constexpr uint32_t barsBottom = 240; // rows above this are the bars
constexpr uint32_t rampBottom = 320; // rows from barsBottom to here are the grey ramp
constexpr Rgb background{40, 40, 48};
constexpr Rgb glyphColour{255, 255, 255};

// The "F", one string per glyph row; '#' cells are lit.
constexpr std::array<std::string_view, 7> glyphRows{{
    "#####",
    "#....",
    "#....",
    "####.",
    "#....",
    "#....",
    "#....",
}};

bool insideGlyph(uint32_t x, uint32_t y) {
    if (x < builtinGlyphLeft || y < builtinGlyphTop)
        return false;
    const uint32_t column = (x - builtinGlyphLeft) / builtinGlyphCell;
    const uint32_t row = (y - builtinGlyphTop) / builtinGlyphCell;
    if (row >= glyphRows.size() || column >= glyphRows[row].size())
        return false;
    return glyphRows[row][column] == '#';
}

Rgb builtinPixel(uint32_t x, uint32_t y) {
    if (y < barsBottom)
        return colourBars[x * colourBars.size() / builtinSceneWidth];
    if (y < rampBottom) {
        const auto level = static_cast<uint8_t>(x * 255 / (builtinSceneWidth - 1));
        return Rgb{level, level, level};
    }
    return insideGlyph(x, y) ? glyphColour : background;
}

Status refuse(std::string reason) {
    return {StatusCode::InvalidArgument, std::move(reason)};
}

Status refuseFile(std::string reason) {
    return {StatusCode::FileError, std::move(reason)};
}

// Reads the header fields of a PPM: whitespace-separated decimal numbers, '#' comments to the end
// of the line.
class HeaderReader {
public:
    explicit HeaderReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool skipSpaceAndComments() {
        bool skipped = false;
        while (position_ < bytes_.size()) {
            const uint8_t c = bytes_[position_];
            if (c == '#') {
                while (position_ < bytes_.size() && bytes_[position_] != '\n')
                    ++position_;
            } else if (isSpace(c)) {
                ++position_;
            } else {
                break;
            }
            skipped = true;
        }
        return skipped;
    }

    // A decimal number of at most limit; nullopt when there is none or it is larger.
    std::optional<uint32_t> number(uint32_t limit) {
        if (position_ >= bytes_.size() || !isDigit(bytes_[position_]))
            return std::nullopt;
        uint64_t value = 0;
        while (position_ < bytes_.size() && isDigit(bytes_[position_])) {
            value = value * 10 + (bytes_[position_] - '0');
            if (value > limit)
                return std::nullopt;
            ++position_;
        }
        return static_cast<uint32_t>(value);
    }

    bool magic() {
        if (bytes_.size() < 2 || bytes_[0] != 'P' || bytes_[1] != '6')
            return false;
        position_ = 2;
        return true;
    }

    // The single whitespace byte that ends the header.
    bool endOfHeader() {
        if (position_ >= bytes_.size() || !isSpace(bytes_[position_]))
            return false;
        ++position_;
        return true;
    }

    std::size_t position() const { return position_; }

private:
    static bool isSpace(uint8_t c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }
    static bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

    std::span<const uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace

Scene::Scene(uint32_t width, uint32_t height, std::vector<Rgb> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
    if (width_ == 0 || height_ == 0 || pixels_.size() != std::size_t{width_} * height_) {
        width_ = 1;
        height_ = 1;
        pixels_.assign(1, Rgb{0, 0, 0});
    }
}

Scene builtinScene() {
    return paintedScene(builtinSceneWidth, builtinSceneHeight, builtinPixel);
}

Status parsePpmHeader(std::span<const uint8_t> bytes, PpmHeader& parsed, bool& cutShort) {
    HeaderReader header(bytes);
    const auto refuseHeader = [&](std::string reason) {
        cutShort = header.position() >= bytes.size();
        return refuse(std::move(reason));
    };
    if (!header.magic())
        return refuseHeader("not a binary PPM picture (it does not start with \"P6\")");

    std::array<uint32_t, 3> fields{};
    constexpr std::array<uint32_t, 3> limits{maxSceneSide, maxSceneSide, 65535};
    constexpr std::array<const char*, 3> names{"width", "height", "maximum value"};
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (!header.skipSpaceAndComments())
            return refuseHeader(std::string("the PPM header lacks the separator before its ") +
                                names[k]);
        const auto value = header.number(limits[k]);
        if (!value)
            return refuseHeader(std::string("the PPM ") + names[k] +
                                " is missing or too large (width and height at most " +
                                std::to_string(maxSceneSide) + ")");
        fields[k] = *value;
    }
    const auto [width, height, maxValue] = fields;
    if (width == 0 || height == 0)
        return refuseHeader("the PPM picture is empty (width or height 0)");
    if (maxValue != 255)
        return refuseHeader("the PPM maximum value is " + std::to_string(maxValue) +
                            "; only 255 (one byte per sample) is supported");
    if (!header.endOfHeader())
        return refuseHeader("the PPM header does not end with a whitespace byte");
    cutShort = false;
    parsed = PpmHeader{width, height, header.position()};
    return {};
}

Status parsePpm(std::span<const uint8_t> bytes, std::optional<Scene>& scene) {
    scene.reset();
    PpmHeader header;
    bool cutShort = false;
    if (Status parsed = parsePpmHeader(bytes, header, cutShort); !parsed)
        return parsed;
    const std::size_t count = std::size_t{header.width} * header.height;
    const std::span<const uint8_t> data = bytes.subspan(header.dataOffset);
    if (data.size() < 3 * count)
        return refuse("the PPM pixel data is cut short: " + std::to_string(data.size()) +
                      " bytes where " + std::to_string(3 * count) + " are needed");

    std::vector<Rgb> pixels(count);
    for (std::size_t k = 0; k < count; ++k)
        pixels[k] = Rgb{data[3 * k], data[3 * k + 1], data[3 * k + 2]};
    scene.emplace(header.width, header.height, std::move(pixels));
    return {};
}

Status loadPpmScene(const std::filesystem::path& path, std::optional<Scene>& scene) {
    scene.reset();
    const std::string name = path.string();
    const RegularFileOpen opened = openRegularFile(path);
    if (opened.error != 0)
        return refuseFile("cannot open " + name + ": " + std::strerror(opened.error));
    if (!opened.file.isOpen())
        return refuseFile(name + ": " + fileKindName(opened.mode) + ", not a regular file");
    const int descriptor = opened.file.get();

    std::vector<uint8_t> bytes;
    if (const int error = readUpTo(descriptor, maxPpmHeaderBytes, bytes); error != 0)
        return refuseFile("cannot read " + name + ": " + std::strerror(error));
    PpmHeader header;
    bool cutShort = false;
    if (const Status parsed = parsePpmHeader(bytes, header, cutShort); !parsed) {
        if (cutShort && bytes.size() == maxPpmHeaderBytes)
            return refuseFile(name + ": the PPM header is longer than " +
                              std::to_string(maxPpmHeaderBytes) + " bytes");
        return refuseFile(name + ": " + parsed.message());
    }
    if (const int error = readUpTo(descriptor, header.fileSize(), bytes); error != 0)
        return refuseFile("cannot read " + name + ": " + std::strerror(error));
    if (const Status parsed = parsePpm(bytes, scene); !parsed)
        return refuseFile(name + ": " + parsed.message());
    return {};
}

} // namespace orvane
