// Where the conversions' AVX2 loops apply: x86-64 built with GCC or Clang. Elsewhere only their
// plain loops are built.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ORVANE_AVX2_LOOPS 1
// A loop built twice, for AVX2 and for any x86-64, the one to run chosen when the program starts.
#define ORVANE_AVX2_AND_DEFAULT_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ORVANE_AVX2_LOOPS 0
#define ORVANE_AVX2_AND_DEFAULT_CLONES
#endif

namespace orvane {

inline bool processorHasAvx2() {
#if ORVANE_AVX2_LOOPS
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

} // namespace orvane
