// Where the conversions' AVX2 loops apply: x86-64 built with GCC or Clang. Elsewhere only their
// plain loops are built.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ORVANE_AVX2_LOOPS 1
#else
#define ORVANE_AVX2_LOOPS 0
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
