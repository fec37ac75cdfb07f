// Colour-mosaic split and weighted interpolation of the RGB mode's planes, in exact integer
// arithmetic with an AVX2 version of the interpolation chosen at run time.
#include "image/rgb_planes.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/avx2_support.h"

namespace orvane {
namespace {

// Weights of one interpolated output row between sample rows a and c, applied to
// (a_m, a_m+1, c_m, c_m+1) for pixel 2m + 1 and mirrored, (a_m+1, a_m, c_m+1, c_m), for pixel
// 2m + 2; each set sums to 10. The row's end pixels copy the first and last sample of a, or of c
// when endsFromSecondRow. Fixed at compile time, so the arithmetic folds into the loops.
struct RowWeights {
    uint16_t nearA, farA, nearC, farC;
    bool endsFromSecondRow;
};

constexpr RowWeights upperChromaRow{5, 2, 2, 1, false};
constexpr RowWeights lowerChromaRow{2, 1, 5, 2, true};
constexpr RowWeights greenRow{4, 2, 3, 1, false};

// sum / 10 for every weighted sum (0..2550): the high half of sum x ceil(2^16 / 10), exact for
// sums below 2^14.
constexpr uint32_t tenthScaled = 6554;

inline uint8_t tenth(uint32_t sum) {
    return static_cast<uint8_t>((sum * tenthScaled) >> 16);
}

// Pixels 2m + 1 and 2m + 2 for m from `first` to pairs - 1.
template <RowWeights w>
inline void interpolatePairsPortable(const uint8_t* __restrict a, const uint8_t* __restrict c,
                                     uint8_t* __restrict out, std::size_t first,
                                     std::size_t pairs) {
    for (std::size_t m = first; m < pairs; ++m) {
        const uint32_t a0 = a[m], a1 = a[m + 1], c0 = c[m], c1 = c[m + 1];
        out[2 * m + 1] = tenth(w.nearA * a0 + w.farA * a1 + w.nearC * c0 + w.farC * c1);
        out[2 * m + 2] = tenth(w.farA * a0 + w.nearA * a1 + w.farC * c0 + w.nearC * c1);
    }
}

#if ORVANE_AVX2_LOOPS
// Sixteen samples widened to 16-bit lanes.
__attribute__((target("avx2"), always_inline)) inline __m256i widen(const uint8_t* bytes) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)));
}

// With AVX2, 16 pairs (32 output pixels) at a time in 16-bit lanes; the multiply's high half is
// the division by 10. The pack leaves each 128-bit half as eight odd then eight even pixels, which
// one byte shuffle puts in pixel order.
template <RowWeights w>
__attribute__((target("avx2"))) void interpolatePairsAvx2(const uint8_t* a, const uint8_t* c,
                                                          uint8_t* out, std::size_t pairs) {
    const __m256i nearA = _mm256_set1_epi16(w.nearA);
    const __m256i farA = _mm256_set1_epi16(w.farA);
    const __m256i nearC = _mm256_set1_epi16(w.nearC);
    const __m256i farC = _mm256_set1_epi16(w.farC);
    const __m256i scale = _mm256_set1_epi16(static_cast<int16_t>(tenthScaled));
    const __m256i pixelOrder =
        _mm256_setr_epi8(0, 8, 1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 0, 8, 1, 9, 2, 10, 3,
                         11, 4, 12, 5, 13, 6, 14, 7, 15);
    constexpr std::size_t step = 16;
    if (pairs < step) {
        interpolatePairsPortable<w>(a, c, out, 0, pairs);
        return;
    }
    // Pixels 2m + 1 to 2m + 32 from samples m to m + 16 of both rows. The last step ends at the
    // last pair, going over some pairs again with the same result.
    for (std::size_t m = 0;; m += step) {
        m = std::min(m, pairs - step);
        const __m256i a0 = widen(a + m), a1 = widen(a + m + 1);
        const __m256i c0 = widen(c + m), c1 = widen(c + m + 1);
        const __m256i odd = _mm256_add_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(a0, nearA), _mm256_mullo_epi16(a1, farA)),
            _mm256_add_epi16(_mm256_mullo_epi16(c0, nearC), _mm256_mullo_epi16(c1, farC)));
        const __m256i even = _mm256_add_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(a0, farA), _mm256_mullo_epi16(a1, nearA)),
            _mm256_add_epi16(_mm256_mullo_epi16(c0, farC), _mm256_mullo_epi16(c1, nearC)));
        const __m256i packed =
            _mm256_packus_epi16(_mm256_mulhi_epu16(odd, scale), _mm256_mulhi_epu16(even, scale));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 2 * m + 1),
                            _mm256_shuffle_epi8(packed, pixelOrder));
        if (m + step == pairs)
            break;
    }
}

#endif

// The AVX2 loop where the processor has it, the compiler's vectorisation of the plain loop
// elsewhere.
template <RowWeights w>
void interpolatePairs(const uint8_t* a, const uint8_t* c, uint8_t* out, std::size_t pairs) {
#if ORVANE_AVX2_LOOPS
    if (processorHasAvx2()) {
        interpolatePairsAvx2<w>(a, c, out, pairs);
        return;
    }
#endif
    interpolatePairsPortable<w>(a, c, out, 0, pairs);
}

// One output row of 2 x half pixels into out.
template <RowWeights w>
void interpolateRow(const uint8_t* a, const uint8_t* c, std::size_t half, uint8_t* out) {
    const uint8_t* ends = w.endsFromSecondRow ? c : a;
    out[0] = ends[0];
    interpolatePairs<w>(a, c, out, half - 1);
    out[2 * half - 1] = ends[half - 1];
}

ORVANE_AVX2_AND_DEFAULT_CLONES void doubleRow(const uint8_t* __restrict samples, std::size_t half,
                                              uint8_t* __restrict out) {
    for (std::size_t m = 0; m < half; ++m) {
        out[2 * m] = samples[m];
        out[2 * m + 1] = samples[m];
    }
}

// The even and the odd bytes of a line's first 2 x half bytes.
ORVANE_AVX2_AND_DEFAULT_CLONES void splitLine(const uint8_t* __restrict line, std::size_t half,
                                              uint8_t* __restrict evens, uint8_t* __restrict odds) {
    for (std::size_t m = 0; m < half; ++m) {
        evens[m] = line[2 * m];
        odds[m] = line[2 * m + 1];
    }
}

// One raw line into a work line; what the line lacks up to `width` counts as 0.
void loadLine(std::span<const uint8_t> raw, std::size_t bytesPerLine, std::size_t width,
              std::span<uint8_t> work) {
    std::copy_n(raw.begin(), bytesPerLine, work.begin());
    if (bytesPerLine < width)
        std::fill_n(work.begin() + static_cast<std::ptrdiff_t>(bytesPerLine), width - bytesPerLine,
                    uint8_t{0});
}

struct Shape {
    std::size_t width;
    std::size_t height;
    std::size_t half; // samples per sample row
};

// Blue and red: sample rows k and k + 1 give output rows 2 + 2k and 3 + 2k.
void fillChromaPlane(const uint8_t* samples, uint8_t* plane, const Shape& s) {
    const std::size_t sampleRows = s.height / 2;
    auto sampleRow = [&](std::size_t k) { return samples + k * s.half; };
    auto planeRow = [&](std::size_t r) { return plane + r * s.width; };

    doubleRow(sampleRow(0), s.half, planeRow(0));
    // A 2-line frame has no second sample row: row 1 repeats row 0.
    doubleRow(sampleRow(sampleRows > 1 ? 1 : 0), s.half, planeRow(1));
    for (std::size_t k = 0; k + 1 < sampleRows; ++k) {
        interpolateRow<upperChromaRow>(sampleRow(k), sampleRow(k + 1), s.half, planeRow(2 + 2 * k));
        interpolateRow<lowerChromaRow>(sampleRow(k), sampleRow(k + 1), s.half, planeRow(3 + 2 * k));
    }
    // An odd line count leaves the last row without a sample pair: it repeats the row above, so
    // no output row keeps what an earlier frame left.
    if (s.height % 2 == 1 && s.height > 2)
        std::copy_n(planeRow(s.height - 2), s.width, planeRow(s.height - 1));
}

// Green: sample rows r and r + 1 give output row 2 + r.
void fillGreenPlane(const uint8_t* samples, uint8_t* plane, const Shape& s) {
    auto sampleRow = [&](std::size_t r) { return samples + r * s.half; };
    auto planeRow = [&](std::size_t r) { return plane + r * s.width; };

    doubleRow(sampleRow(0), s.half, planeRow(0));
    doubleRow(sampleRow(1), s.half, planeRow(1));
    for (std::size_t r = 0; r + 2 < s.height; ++r)
        interpolateRow<greenRow>(sampleRow(r), sampleRow(r + 1), s.half, planeRow(2 + r));
}

} // namespace

bool rgbFrameFits(const FrameGeometry& geometry) {
    const std::size_t width = geometry.imageWidth;
    const std::size_t height = geometry.imageHeight;
    const std::size_t bytesPerLine = geometry.bytesPerLine;
    return width >= 2 && height >= 2 && width <= lineBufferSize && bytesPerLine <= lineBufferSize &&
           height <= frameBufferSize / std::max<std::size_t>(bytesPerLine, 1) &&
           width * height <= frameBufferSize;
}

void reconstructRgbPlanes(FrameBuffers& buffers, const FrameGeometry& geometry) {
    if (!rgbFrameFits(geometry))
        return;
    const Shape s{geometry.imageWidth, geometry.imageHeight, geometry.imageWidth / 2u};
    const std::size_t bytesPerLine = geometry.bytesPerLine;
    const std::span<const uint8_t> raw = buffers.rawFrame();
    const std::span<uint8_t> lineA = buffers.lineA();
    const std::span<uint8_t> lineB = buffers.lineB();
    uint8_t* blue = buffers.blueSamples().data();
    uint8_t* green = buffers.greenSamples().data();
    uint8_t* red = buffers.redSamples().data();

    // Even lines: green, blue, green, blue...; odd lines: red, green, red, green... Whole lines
    // are split where they lie; a line shorter than the width goes through a work line first.
    const std::size_t pairs = s.height / 2;
    for (std::size_t p = 0; p < pairs; ++p) {
        const std::span<const uint8_t> even = raw.subspan(2 * p * bytesPerLine, bytesPerLine);
        const std::span<const uint8_t> odd = raw.subspan((2 * p + 1) * bytesPerLine, bytesPerLine);
        const bool whole = bytesPerLine >= s.width;
        if (!whole || p + 1 == pairs) {
            loadLine(even, bytesPerLine, s.width, lineA);
            loadLine(odd, bytesPerLine, s.width, lineB);
        }
        splitLine(whole ? even.data() : lineA.data(), s.half, green + 2 * p * s.half,
                  blue + p * s.half);
        splitLine(whole ? odd.data() : lineB.data(), s.half, red + p * s.half,
                  green + (2 * p + 1) * s.half);
    }

    uint8_t* bluePlane = buffers.bluePlane().data();
    uint8_t* greenPlane = buffers.greenPlane().data();
    uint8_t* redPlane = buffers.redPlane().data();
    fillChromaPlane(blue, bluePlane, s);
    fillGreenPlane(green, greenPlane, s);
    fillChromaPlane(red, redPlane, s);

    // The rows are built in place; the work lines end as if each row had been built in them and
    // copied: the last red pair, or the last green row, over the last raw line pair.
    const auto planeRow = [&](const uint8_t* plane, std::size_t r) { return plane + r * s.width; };
    if (pairs >= 2) {
        std::copy_n(planeRow(redPlane, 2 * pairs - 2), s.width, lineA.begin());
        std::copy_n(planeRow(redPlane, 2 * pairs - 1), s.width, lineB.begin());
    } else if (s.height >= 3) {
        std::copy_n(planeRow(greenPlane, s.height - 1), s.width, lineA.begin());
    }
}

} // namespace orvane
