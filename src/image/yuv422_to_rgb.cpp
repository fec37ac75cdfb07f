// 4:2:2 YUV to RGB planes in exact 8- and 16-bit integer arithmetic, chroma once per pixel pair,
// with an AVX2 version chosen once per call where the processor has it.
#include "image/yuv422_to_rgb.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>

#include "image/avx2_support.h"

namespace orvane {
namespace {

// Y + offset clamped to 0..255, with the offset split into its rise and its fall (at most one of
// them non-zero): the rise stops at 255 and the fall at 0, so no step leaves 8 bits and the
// compiler keeps whole vectors of bytes.
inline uint8_t offsetClamped(uint8_t y, uint8_t rise, uint8_t fall) {
    const uint8_t raised = static_cast<uint8_t>(y + std::min(rise, static_cast<uint8_t>(~y)));
    return static_cast<uint8_t>(raised - std::min(fall, raised));
}

// The offsets one group adds to both its lumas: red + (V - 128), blue + (U - 128) and green
// + floor(-c/2 - k u). With k = 11184811 / 2^26 = 1/6 + 1/(3 x 2^26), -c/2 - k u is
// -(3c + u)/6 less u/(3 x 2^26); that last term is far below the 1/6 between multiples of 1/6,
// so it moves the floor only when 3c + u is a multiple of 6 and u > 0, by one. Hence
// floor((-(3c + u) - [u > 0]) / 6), here from the bytes: 3c + u = 3V + U - 512, shifted by
// 6 x 86 so the dividend is 7..1028, and the division by 6 as a multiply and shift (exact below
// 2^15). The green offset lies in -85..85.
struct GroupOffsets {
    uint8_t redRise, redFall, blueRise, blueFall, greenRise, greenFall;
};

constexpr uint8_t chromaZero = 128;
constexpr uint16_t greenBias = 86;
constexpr uint32_t sixthScaled = 10923; // ceil(2^16 / 6)

inline GroupOffsets groupOffsets(uint8_t v, uint8_t u) {
    const uint8_t vLow = std::min(v, chromaZero);
    const uint8_t uLow = std::min(u, chromaZero);
    const auto dividend =
        static_cast<uint16_t>(6 * greenBias + 512 - 3 * v - u - (u > chromaZero ? 1 : 0));
    const auto greenPlusBias = static_cast<uint16_t>((uint32_t{dividend} * sixthScaled) >> 16);
    return GroupOffsets{
        static_cast<uint8_t>(v - vLow),
        static_cast<uint8_t>(chromaZero - vLow),
        static_cast<uint8_t>(u - uLow),
        static_cast<uint8_t>(chromaZero - uLow),
        static_cast<uint8_t>(std::max(greenPlusBias, greenBias) - greenBias),
        static_cast<uint8_t>(greenBias - std::min(greenPlusBias, greenBias)),
    };
}

// Converts `groups` whole groups (V, Y, U, Y) into 2 x groups pixels of each row.
inline void convertGroupsPortable(const uint8_t* __restrict source, RgbRow rows,
                                  std::size_t groups) {
    uint8_t* __restrict green = rows.green;
    uint8_t* __restrict blue = rows.blue;
    uint8_t* __restrict red = rows.red;
    for (std::size_t g = 0; g < groups; ++g) {
        const uint8_t* group = source + 4 * g;
        const GroupOffsets o = groupOffsets(group[0], group[2]);
        const uint8_t left = group[1];
        const uint8_t right = group[3];
        red[2 * g] = offsetClamped(left, o.redRise, o.redFall);
        red[2 * g + 1] = offsetClamped(right, o.redRise, o.redFall);
        blue[2 * g] = offsetClamped(left, o.blueRise, o.blueFall);
        blue[2 * g + 1] = offsetClamped(right, o.blueRise, o.blueFall);
        green[2 * g] = offsetClamped(left, o.greenRise, o.greenFall);
        green[2 * g + 1] = offsetClamped(right, o.greenRise, o.greenFall);
    }
}

#if ORVANE_AVX2_LOOPS
// With AVX2, 16 groups (32 pixels) at a time in 16-bit lanes, one lane per pixel: the same
// arithmetic, where the saturating pack to bytes is the clamp and the high half of the multiply
// by ceil(2^16 / 6) is the division by 6. The byte shuffles work within each 128-bit half, which
// holds four whole groups.
struct Lanes {
    __m256i red, green, blue;
};

#define ORVANE_AVX2 __attribute__((target("avx2"), always_inline)) inline

ORVANE_AVX2 void convertEightGroups(__m256i bytes, Lanes& out) {
    const __m256i spreadV =
        _mm256_setr_epi8(0, -1, 0, -1, 4, -1, 4, -1, 8, -1, 8, -1, 12, -1, 12, -1, 0, -1, 0, -1, 4,
                         -1, 4, -1, 8, -1, 8, -1, 12, -1, 12, -1);
    const __m256i spreadU =
        _mm256_setr_epi8(2, -1, 2, -1, 6, -1, 6, -1, 10, -1, 10, -1, 14, -1, 14, -1, 2, -1, 2, -1,
                         6, -1, 6, -1, 10, -1, 10, -1, 14, -1, 14, -1);
    const __m256i pairVU = _mm256_setr_epi8(0, 2, 0, 2, 4, 6, 4, 6, 8, 10, 8, 10, 12, 14, 12, 14, 0,
                                            2, 0, 2, 4, 6, 4, 6, 8, 10, 8, 10, 12, 14, 12, 14);
    const __m256i minusThreeMinusOne = _mm256_set1_epi16(static_cast<int16_t>(0xFFFD)); // -3, -1
    const __m256i zero = _mm256_set1_epi16(chromaZero);
    const __m256i dividendBase = _mm256_set1_epi16(6 * greenBias + 512);
    const __m256i sixth = _mm256_set1_epi16(static_cast<int16_t>(sixthScaled));
    const __m256i bias = _mm256_set1_epi16(greenBias);

    const __m256i y = _mm256_srli_epi16(bytes, 8);
    const __m256i v = _mm256_shuffle_epi8(bytes, spreadV);
    const __m256i u = _mm256_shuffle_epi8(bytes, spreadU);
    const __m256i minus3VMinusU =
        _mm256_maddubs_epi16(_mm256_shuffle_epi8(bytes, pairVU), minusThreeMinusOne);
    const __m256i dividend = _mm256_add_epi16(_mm256_add_epi16(minus3VMinusU, dividendBase),
                                              _mm256_cmpgt_epi16(u, zero));
    const __m256i greenPlusBias = _mm256_mulhi_epu16(dividend, sixth);
    out.red = _mm256_sub_epi16(_mm256_add_epi16(y, v), zero);
    out.green = _mm256_sub_epi16(_mm256_add_epi16(y, greenPlusBias), bias);
    out.blue = _mm256_sub_epi16(_mm256_add_epi16(y, u), zero);
}

// Saturating pack of two lane sets into 32 bytes in pixel order.
ORVANE_AVX2 void storeBytes(uint8_t* out, __m256i first, __m256i second) {
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), 0xD8);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), packed);
}

#undef ORVANE_AVX2

__attribute__((target("avx2"))) void convertGroupsAvx2(const uint8_t* source, RgbRow rows,
                                                       std::size_t groups) {
    constexpr std::size_t groupsPerStep = 16;
    if (groups < groupsPerStep) {
        convertGroupsPortable(source, rows, groups);
        return;
    }
    // The last step ends at the last group, going over some groups again with the same result.
    for (std::size_t g = 0;; g += groupsPerStep) {
        g = std::min(g, groups - groupsPerStep);
        const uint8_t* in = source + 4 * g;
        Lanes first;
        Lanes second;
        convertEightGroups(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in)), first);
        convertEightGroups(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 32)), second);
        storeBytes(rows.red + 2 * g, first.red, second.red);
        storeBytes(rows.green + 2 * g, first.green, second.green);
        storeBytes(rows.blue + 2 * g, first.blue, second.blue);
        if (g + groupsPerStep == groups)
            break;
    }
}

#endif

// A line that lacks bytes (or has an odd width): taken in chunks through a small zero-filled copy
// by the portable loop. available counts only the line's first 2 x width bytes, so an odd width's
// last group reads 0 for its U and right luma, and writes only its left pixel.
void convertShortLine(const uint8_t* line, std::size_t available, RgbRow rows, std::size_t width) {
    constexpr std::size_t chunkGroups = 64;
    std::array<uint8_t, 4 * chunkGroups> chunk{};
    std::array<uint8_t, 2 * chunkGroups> green{}, blue{}, red{};
    for (std::size_t first = 0; first < width; first += 2 * chunkGroups) {
        const std::size_t pixels = std::min(width - first, 2 * chunkGroups);
        const std::size_t start = 2 * first;
        const std::size_t copied =
            start < available ? std::min(available - start, chunk.size()) : 0;
        std::memcpy(chunk.data(), line + start, copied);
        std::memset(chunk.data() + copied, 0, chunk.size() - copied);
        convertGroupsPortable(chunk.data(), RgbRow{red.data(), green.data(), blue.data()},
                              (pixels + 1) / 2);
        std::memcpy(rows.green + first, green.data(), pixels);
        std::memcpy(rows.blue + first, blue.data(), pixels);
        std::memcpy(rows.red + first, red.data(), pixels);
    }
}

} // namespace

YuvGroups yuvGroupsFor(CpuFeatures cpu) {
    return chosenRow<YuvGroups>(cpu.avx2, convertGroupsPortable,
                                ORVANE_AVX2_ROW(convertGroupsAvx2));
}

void convertYuvRow(const uint8_t* line, std::size_t available, uint32_t width, RgbRow out,
                   YuvGroups groups) {
    const std::size_t usedBytes = 2 * std::size_t{width};
    if (available >= usedBytes && width % 2 == 0)
        groups(line, out, width / 2);
    else
        convertShortLine(line, std::min(available, usedBytes), out, width);
}

void Yuv422ToRgb(std::span<const uint8_t> source, std::span<uint8_t> greenPlane,
                 std::span<uint8_t> bluePlane, std::span<uint8_t> redPlane, uint32_t lines,
                 uint32_t width, uint32_t bytesPerLine, CpuFeatures cpu) {
    if (width == 0 || lines == 0)
        return;
    const std::size_t pixelsPerLine = width;
    const std::size_t smallestPlane =
        std::min({greenPlane.size(), bluePlane.size(), redPlane.size()});
    const std::size_t rows = std::min<std::size_t>(lines, smallestPlane / pixelsPerLine);
    const YuvGroups groups = yuvGroupsFor(cpu);
    for (std::size_t line = 0; line < rows; ++line) {
        const std::size_t lineStart = line * std::size_t{bytesPerLine};
        const std::size_t available =
            lineStart < source.size()
                ? std::min(std::size_t{bytesPerLine}, source.size() - lineStart)
                : std::size_t{0};
        const std::size_t rowStart = line * pixelsPerLine;
        convertYuvRow(source.data() + std::min(lineStart, source.size()), available, width,
                      RgbRow{redPlane.data() + rowStart, greenPlane.data() + rowStart,
                             bluePlane.data() + rowStart},
                      groups);
    }
}

} // namespace orvane
