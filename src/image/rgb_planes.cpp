// The colour mosaic's rows in one pass over the frame: each raw line split once into its samples,
// each output row interpolated from the sample rows around it, in exact integer arithmetic with
// AVX2 versions of the loops where they may be used.
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

// The AVX2 loops take rows of at least this many pairs; shorter rows take the plain loops.
constexpr std::size_t avx2Pairs = 32;

#if ORVANE_AVX2_LOOPS
// With AVX2, 32 pairs (64 output pixels) at a time. Neighbouring samples are paired byte by byte
// (a_m, a_m+1), so one multiply-add of unsigned samples by the pair's weights gives each row's
// part of a sum in a 16-bit lane; the multiply's high half is the division by 10. The odd pixel
// goes in a lane's low byte and the even one in its high byte, which is their order in memory.
#define ORVANE_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

ORVANE_AVX2_INLINE __m256i loadBytes(const uint8_t* bytes) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
}

// Samples m to m + 31 of a row beside samples m + 1 to m + 32, as the lower (0) or upper (1)
// 16 pairs of each 128-bit half.
struct PairedRow {
    __m256i low, high;
};

ORVANE_AVX2_INLINE PairedRow pairedRow(const uint8_t* row, std::size_t m) {
    const __m256i first = loadBytes(row + m);
    const __m256i second = loadBytes(row + m + 1);
    return {_mm256_unpacklo_epi8(first, second), _mm256_unpackhi_epi8(first, second)};
}

template <RowWeights w> ORVANE_AVX2_INLINE __m256i weighted(__m256i pairedA, __m256i pairedC) {
    // Each 16-bit lane holds a pair's two weights, the first sample's in its low byte.
    const __m256i oddA = _mm256_set1_epi16(static_cast<int16_t>(w.nearA | w.farA << 8));
    const __m256i evenA = _mm256_set1_epi16(static_cast<int16_t>(w.farA | w.nearA << 8));
    const __m256i oddC = _mm256_set1_epi16(static_cast<int16_t>(w.nearC | w.farC << 8));
    const __m256i evenC = _mm256_set1_epi16(static_cast<int16_t>(w.farC | w.nearC << 8));
    const __m256i scale = _mm256_set1_epi16(static_cast<int16_t>(tenthScaled));
    const __m256i odd = _mm256_mulhi_epu16(
        _mm256_add_epi16(_mm256_maddubs_epi16(pairedA, oddA), _mm256_maddubs_epi16(pairedC, oddC)),
        scale);
    const __m256i even = _mm256_mulhi_epu16(_mm256_add_epi16(_mm256_maddubs_epi16(pairedA, evenA),
                                                             _mm256_maddubs_epi16(pairedC, evenC)),
                                            scale);
    return _mm256_or_si256(odd, _mm256_slli_epi16(even, 8));
}

// Pixels 2m + 1 to 2m + 64 of one row: the unpacks work within 128-bit halves, so pairs m to
// m + 15 are the two lower quarters and m + 16 to m + 31 the two upper ones.
template <RowWeights w>
ORVANE_AVX2_INLINE void storeRow(const PairedRow& a, const PairedRow& c, uint8_t* out,
                                 std::size_t m) {
    const __m256i low = weighted<w>(a.low, c.low);
    const __m256i high = weighted<w>(a.high, c.high);
    uint8_t* at = out + 2 * m + 1;
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), _mm256_permute2x128_si256(low, high, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(at + 32),
                        _mm256_permute2x128_si256(low, high, 0x31));
}

// The steps of a row of `pairs` pairs; the last one ends at the last pair, going over some pairs
// again with the same result.
template <typename Step> ORVANE_AVX2_INLINE void eachStep(std::size_t pairs, Step step) {
    for (std::size_t m = 0;; m += avx2Pairs) {
        m = std::min(m, pairs - avx2Pairs);
        step(m);
        if (m + avx2Pairs == pairs)
            break;
    }
}

template <RowWeights w>
__attribute__((target("avx2"))) void interpolatePairsAvx2(const uint8_t* a, const uint8_t* c,
                                                          uint8_t* out, std::size_t pairs) {
    eachStep(
        pairs, [&](std::size_t m) __attribute__((target("avx2"))) {
            storeRow<w>(pairedRow(a, m), pairedRow(c, m), out, m);
        });
}

// Two rows between the same two sample rows (a chroma pair's upper and lower rows), each sample
// row loaded once.
template <RowWeights first, RowWeights second>
__attribute__((target("avx2"))) void interpolatePairsTwiceAvx2(const uint8_t* a, const uint8_t* c,
                                                               uint8_t* out0, uint8_t* out1,
                                                               std::size_t pairs) {
    eachStep(
        pairs, [&](std::size_t m) __attribute__((target("avx2"))) {
            const PairedRow pa = pairedRow(a, m);
            const PairedRow pc = pairedRow(c, m);
            storeRow<first>(pa, pc, out0, m);
            storeRow<second>(pa, pc, out1, m);
        });
}

// Two rows of three sample rows, the first between a and b, the second between b and c, with b
// loaded once.
template <RowWeights w>
__attribute__((target("avx2"))) void
interpolatePairsOverlappingAvx2(const uint8_t* a, const uint8_t* b, const uint8_t* c, uint8_t* out0,
                                uint8_t* out1, std::size_t pairs) {
    eachStep(
        pairs, [&](std::size_t m) __attribute__((target("avx2"))) {
            const PairedRow pb = pairedRow(b, m);
            storeRow<w>(pairedRow(a, m), pb, out0, m);
            storeRow<w>(pb, pairedRow(c, m), out1, m);
        });
}

#undef ORVANE_AVX2_INLINE
#endif

// The plain loops in the row functions' shapes; the compiler vectorises them.
template <RowWeights w>
void interpolatePairsPlain(const uint8_t* a, const uint8_t* c, uint8_t* out, std::size_t pairs) {
    interpolatePairsPortable<w>(a, c, out, 0, pairs);
}

template <RowWeights first, RowWeights second>
void interpolatePairsTwicePlain(const uint8_t* a, const uint8_t* c, uint8_t* out0, uint8_t* out1,
                                std::size_t pairs) {
    interpolatePairsPortable<first>(a, c, out0, 0, pairs);
    interpolatePairsPortable<second>(a, c, out1, 0, pairs);
}

template <RowWeights w>
void interpolatePairsOverlappingPlain(const uint8_t* a, const uint8_t* b, const uint8_t* c,
                                      uint8_t* out0, uint8_t* out1, std::size_t pairs) {
    interpolatePairsPortable<w>(a, b, out0, 0, pairs);
    interpolatePairsPortable<w>(b, c, out1, 0, pairs);
}

// A row's end pixels copy the first and last sample of a, or of c when endsFromSecondRow.
template <RowWeights w>
void copyEnds(const uint8_t* a, const uint8_t* c, std::size_t half, uint8_t* out) {
    const uint8_t* ends = w.endsFromSecondRow ? c : a;
    out[0] = ends[0];
    out[2 * half - 1] = ends[half - 1];
}

// One output row of 2 x half pixels into out.
template <RowWeights w>
void interpolateRow(MosaicKernels::Pairs pairs, const uint8_t* a, const uint8_t* c,
                    std::size_t half, uint8_t* out) {
    pairs(a, c, out, half - 1);
    copyEnds<w>(a, c, half, out);
}

inline void doubleRowPortable(const uint8_t* __restrict samples, std::size_t half,
                              uint8_t* __restrict out) {
    for (std::size_t m = 0; m < half; ++m) {
        out[2 * m] = samples[m];
        out[2 * m + 1] = samples[m];
    }
}

// The even and the odd bytes of a line's first 2 x half bytes.
inline void splitLinePortable(const uint8_t* __restrict line, std::size_t half,
                              uint8_t* __restrict evens, uint8_t* __restrict odds) {
    for (std::size_t m = 0; m < half; ++m) {
        evens[m] = line[2 * m];
        odds[m] = line[2 * m + 1];
    }
}

#if ORVANE_AVX2_LOOPS
// The same loops compiled for AVX2, which the compiler vectorises with wide shuffles.
__attribute__((target("avx2"))) void doubleRowAvx2(const uint8_t* __restrict samples,
                                                   std::size_t half, uint8_t* __restrict out) {
    doubleRowPortable(samples, half, out);
}
__attribute__((target("avx2"))) void splitLineAvx2(const uint8_t* __restrict line, std::size_t half,
                                                   uint8_t* __restrict evens,
                                                   uint8_t* __restrict odds) {
    splitLinePortable(line, half, evens, odds);
}
#endif

} // namespace

bool rgbFrameFits(const FrameGeometry& geometry) {
    const std::size_t width = geometry.imageWidth;
    const std::size_t height = geometry.imageHeight;
    const std::size_t bytesPerLine = geometry.bytesPerLine;
    return width >= 2 && height >= 2 && width <= lineBufferSize && bytesPerLine <= lineBufferSize &&
           height <= frameBufferSize / std::max<std::size_t>(bytesPerLine, 1) &&
           width * height <= frameBufferSize;
}

MosaicKernels mosaicKernels(CpuFeatures cpu, std::size_t pairs) {
    const bool wide = cpu.avx2 && pairs >= avx2Pairs;
    MosaicKernels k;
    k.splitLine = chosenRow<MosaicKernels::Split>(cpu.avx2, splitLinePortable,
                                                  ORVANE_AVX2_ROW(splitLineAvx2));
    k.doubleRow = chosenRow<MosaicKernels::Double>(cpu.avx2, doubleRowPortable,
                                                   ORVANE_AVX2_ROW(doubleRowAvx2));
    k.greenPairs = chosenRow<MosaicKernels::Pairs>(wide, interpolatePairsPlain<greenRow>,
                                                   ORVANE_AVX2_ROW(interpolatePairsAvx2<greenRow>));
    k.upperPairs =
        chosenRow<MosaicKernels::Pairs>(wide, interpolatePairsPlain<upperChromaRow>,
                                        ORVANE_AVX2_ROW(interpolatePairsAvx2<upperChromaRow>));
    k.lowerPairs =
        chosenRow<MosaicKernels::Pairs>(wide, interpolatePairsPlain<lowerChromaRow>,
                                        ORVANE_AVX2_ROW(interpolatePairsAvx2<lowerChromaRow>));
    k.chromaPairs = chosenRow<MosaicKernels::PairsTwice>(
        wide, interpolatePairsTwicePlain<upperChromaRow, lowerChromaRow>,
        ORVANE_AVX2_ROW((interpolatePairsTwiceAvx2<upperChromaRow, lowerChromaRow>)));
    k.greenPairsOverlapping = chosenRow<MosaicKernels::PairsOverlapping>(
        wide, interpolatePairsOverlappingPlain<greenRow>,
        ORVANE_AVX2_ROW(interpolatePairsOverlappingAvx2<greenRow>));
    return k;
}

MosaicRows::MosaicRows(std::span<const uint8_t> raw, const FrameGeometry& geometry, CpuFeatures cpu)
    : raw_(raw), width_(geometry.imageWidth), height_(geometry.imageHeight),
      bytesPerLine_(geometry.bytesPerLine), half_(geometry.imageWidth / 2u),
      kernels_(mosaicKernels(cpu, half_ > 0 ? half_ - 1 : 0)) {}

// Each raw line is split once: the rows of one output row lie within four lines of each other.
const MosaicRows::SplitLine& MosaicRows::line(std::size_t number) {
    SplitLine& split = lines_[number % lines_.size()];
    if (split.number == number)
        return split;
    split.number = number;
    const std::size_t start = number * bytesPerLine_;
    const std::size_t available =
        start < raw_.size() ? std::min(bytesPerLine_, raw_.size() - start) : 0;
    const uint8_t* bytes = raw_.data() + std::min(start, raw_.size());
    if (available < width_) {
        // What a short line lacks counts as 0.
        std::array<uint8_t, lineBufferSize> padded{};
        std::copy_n(bytes, available, padded.begin());
        kernels_.splitLine(padded.data(), half_, split.evens.data(), split.odds.data());
    } else {
        kernels_.splitLine(bytes, half_, split.evens.data(), split.odds.data());
    }
    return split;
}

// Even lines hold green, blue; odd lines red, green. Blue sample row k is line 2k's odd bytes,
// red sample row k line 2k + 1's even bytes, green sample row r line r's greens.
const uint8_t* MosaicRows::blueSamples(std::size_t k) {
    return line(2 * k).odds.data();
}
const uint8_t* MosaicRows::redSamples(std::size_t k) {
    return line(2 * k + 1).evens.data();
}
const uint8_t* MosaicRows::greenSamples(std::size_t r) {
    return r % 2 == 0 ? line(r).evens.data() : line(r).odds.data();
}

void MosaicRows::row(std::size_t y, RgbRow out) {
    // Green: rows 0 and 1 are sample rows doubled, every later row lies between the two sample
    // rows above it.
    if (y < 2)
        kernels_.doubleRow(greenSamples(y), half_, out.green);
    else
        interpolateRow<greenRow>(kernels_.greenPairs, greenSamples(y - 2), greenSamples(y - 1),
                                 half_, out.green);

    // Blue and red: rows 0 and 1 doubled (a 2-line frame has no second sample row and repeats
    // row 0), then rows 2 + 2k and 3 + 2k between sample rows k and k + 1. An odd line count's
    // last row repeats the row above it, so no row keeps what an earlier frame left.
    const std::size_t sampleRows = height_ / 2;
    const std::size_t c = height_ % 2 == 1 && height_ > 2 && y == height_ - 1 ? y - 1 : y;
    if (c < 2) {
        const std::size_t k = c == 1 && sampleRows > 1 ? 1 : 0;
        kernels_.doubleRow(blueSamples(k), half_, out.blue);
        kernels_.doubleRow(redSamples(k), half_, out.red);
        return;
    }
    const std::size_t k = (c - 2) / 2;
    if (c % 2 == 0) {
        const MosaicKernels::Pairs pairs = kernels_.upperPairs;
        interpolateRow<upperChromaRow>(pairs, blueSamples(k), blueSamples(k + 1), half_, out.blue);
        interpolateRow<upperChromaRow>(pairs, redSamples(k), redSamples(k + 1), half_, out.red);
    } else {
        const MosaicKernels::Pairs pairs = kernels_.lowerPairs;
        interpolateRow<lowerChromaRow>(pairs, blueSamples(k), blueSamples(k + 1), half_, out.blue);
        interpolateRow<lowerChromaRow>(pairs, redSamples(k), redSamples(k + 1), half_, out.red);
    }
}

void MosaicRows::rowPair(std::size_t y, RgbRow first, RgbRow second) {
    const std::size_t k = (y - 2) / 2;
    const std::size_t pairs = half_ - 1;
    const uint8_t* blueA = blueSamples(k);
    const uint8_t* blueC = blueSamples(k + 1);
    const uint8_t* redA = redSamples(k);
    const uint8_t* redC = redSamples(k + 1);
    kernels_.chromaPairs(blueA, blueC, first.blue, second.blue, pairs);
    kernels_.chromaPairs(redA, redC, first.red, second.red, pairs);
    copyEnds<upperChromaRow>(blueA, blueC, half_, first.blue);
    copyEnds<lowerChromaRow>(blueA, blueC, half_, second.blue);
    copyEnds<upperChromaRow>(redA, redC, half_, first.red);
    copyEnds<lowerChromaRow>(redA, redC, half_, second.red);
    const uint8_t* greenA = greenSamples(y - 2);
    const uint8_t* greenB = greenSamples(y - 1);
    const uint8_t* greenC = greenSamples(y);
    kernels_.greenPairsOverlapping(greenA, greenB, greenC, first.green, second.green, pairs);
    copyEnds<greenRow>(greenA, greenB, half_, first.green);
    copyEnds<greenRow>(greenB, greenC, half_, second.green);
}

void reconstructRgbPlanes(FrameBuffers& buffers, const FrameGeometry& geometry, CpuFeatures cpu) {
    if (!rgbFrameFits(geometry))
        return;
    const std::size_t width = geometry.imageWidth;
    MosaicRows rows(buffers.rawFrame(), geometry, cpu);
    rows.each(
        [&](std::size_t y) {
            const std::size_t first = y * width;
            return RgbRow{buffers.redPlane().data() + first, buffers.greenPlane().data() + first,
                          buffers.bluePlane().data() + first};
        },
        [](std::size_t) {});
}

} // namespace orvane
