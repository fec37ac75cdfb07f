// Where the conversions' AVX2 loops apply (x86-64 built with GCC or Clang; elsewhere only their
// plain loops are built), and the one place a conversion picks between them: once per call, as a
// row function.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ORVANE_AVX2_LOOPS 1
#else
#define ORVANE_AVX2_LOOPS 0
#endif

#include <type_traits>

#include "image/cpu_features.h"

#if ORVANE_AVX2_LOOPS
#define ORVANE_AVX2_ROW(function) (&function)
#else
#define ORVANE_AVX2_ROW(function) nullptr
#endif

namespace orvane {

// The row function for a whole call: avx2 (ORVANE_AVX2_ROW of it) where this build has it and
// useAvx2 says the processor and the rows allow it, portable otherwise.
template <typename Row> Row chosenRow(bool useAvx2, Row portable, std::type_identity_t<Row> avx2) {
    return useAvx2 && avx2 != nullptr ? avx2 : portable;
}

inline bool processorHasAvx2() {
#if ORVANE_AVX2_LOOPS
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

} // namespace orvane
