// Counter-based random numbers for the simulated sensor: each value depends only on its key and
// its counter, so a pixel's noise is the same whatever order, thread or pace renders it, and costs
// one mix of 64 bits per two values.
#pragma once

#include <cstdint>

namespace orvane {

// SplitMix64's finaliser: every bit of the result depends on every bit of x.
constexpr uint64_t mixBits(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// The key of one stream: the seed with what the stream is for (a frame number, the fixed pattern).
constexpr uint64_t streamKey(uint64_t seed, uint64_t stream) {
    return mixBits(seed ^ mixBits(stream));
}

// Two values of unit variance and zero mean, nearly normal, from one 64-bit word: each is the sum
// of four bytes (an Irwin-Hall sum), scaled. Bounded at 3.46 standard deviations.
struct NormalPair {
    float first;
    float second;
};

inline NormalPair normalPair(uint64_t bits) {
    // A byte has mean 127.5 and variance (256^2 - 1) / 12; four of them 510 and 21845.
    constexpr float mean = 510.0f;
    constexpr float scale = 1.0f / 147.800541f; // 1 / sqrt(21845)
    const auto sum = [](uint32_t word) {
        return float((word & 0xFF) + (word >> 8 & 0xFF) + (word >> 16 & 0xFF) + (word >> 24));
    };
    return {(sum(uint32_t(bits)) - mean) * scale, (sum(uint32_t(bits >> 32)) - mean) * scale};
}

} // namespace orvane
