// The generated "bmphead24": every field of the 54 bytes, and the file the generator writes.
#include "resources/bmp_header_template.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orvane {
namespace {

uint32_t littleEndian(const std::array<uint8_t, 54>& h, std::size_t offset, std::size_t size) {
    uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = (value << 8) | h[offset + i];
    return value;
}

struct FieldCase {
    const char* name;
    std::size_t offset;
    std::size_t size;
    uint32_t value;
    friend void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }
};

// Written out by hand from the BMP layout: 24-bit BI_RGB, 312 x 208, rows of 936 bytes.
const FieldCase fieldCases[] = {
    {"FileSize", 2, 4, 54 + 208 * 936},
    {"Reserved", 6, 4, 0},
    {"PixelDataOffset", 10, 4, 54},
    {"InfoHeaderSize", 14, 4, 40},
    {"Width", 18, 4, 312},
    {"Height", 22, 4, 208},
    {"Planes", 26, 2, 1},
    {"BitsPerPixel", 28, 2, 24},
    {"CompressionNone", 30, 4, 0},
    {"ImageSize", 34, 4, 208 * 936},
    {"HorizontalPixelsPerMetre", 38, 4, 2835},
    {"VerticalPixelsPerMetre", 42, 4, 2835},
    {"ColoursUsed", 46, 4, 0},
    {"ImportantColours", 50, 4, 0},
};

class BmpHeaderField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(BmpHeaderField, HoldsItsValue) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(littleEndian(bmpHeaderTemplate(), c.offset, c.size), c.value);
}

INSTANTIATE_TEST_SUITE_P(BmpHeaderTemplate, BmpHeaderField, ::testing::ValuesIn(fieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpHeaderTemplate, StartsWithTheSignatureAndLeavesNoByteUnaccounted) {
    const std::array<uint8_t, 54> header = bmpHeaderTemplate();
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[1], 'M');
    // The fields above cover bytes 2 to 53 without gaps or overlaps.
    std::size_t next = 2;
    for (const FieldCase& c : fieldCases) {
        EXPECT_EQ(c.offset, next) << c.name;
        next = c.offset + c.size;
    }
    EXPECT_EQ(next, 54u);
}

TEST(BmpHeaderTemplate, WidthAndHeightHaveZeroUpperHalves) {
    const std::array<uint8_t, 54> header = bmpHeaderTemplate();
    EXPECT_EQ(header[20], 0);
    EXPECT_EQ(header[21], 0);
    EXPECT_EQ(header[24], 0);
    EXPECT_EQ(header[25], 0);
}

TEST(BmpHeaderTemplate, GeneratorWritesExactlyTheHeader) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const std::filesystem::path dir = pattern;
    ASSERT_TRUE(writeBmpHeaderTemplate(dir));
    std::ifstream in(dir / "bmphead24", std::ios::binary);
    const std::vector<uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    const std::array<uint8_t, 54> header = bmpHeaderTemplate();
    EXPECT_EQ(file, std::vector<uint8_t>(header.begin(), header.end()));
    EXPECT_FALSE(writeBmpHeaderTemplate(dir / "missing"));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace orvane
