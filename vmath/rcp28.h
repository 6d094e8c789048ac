// The 28-bit reciprocal of class 6 (AVX-512 many-core), in one place.
//
// Class 6 is specified for processors with the AVX-512 exponential-and-
// reciprocal extension, whose reciprocal approximation has a relative error
// below 2^-28 before its rounding to single precision. No machine we build or
// test on has that extension, so by default the helper computes the exact
// software equivalent: the correctly rounded reciprocal 1/v, which is what a
// 28-bit approximation rounded to 24 bits gives except at the rare inputs
// whose reciprocal lies within 2^-28 of a rounding midpoint. The CMake option
// LV_NATIVE_RCP28 switches the helper to the real instruction.
//
// Include only from class-6 files (name ending in _avx512mc.cpp); always
// inlined, so no shared copy exists.
#pragma once

#include <immintrin.h>

#if !defined(LV_CLASS) || LV_CLASS != 6
#error "vmath/rcp28.h is for class-6 files only"
#endif

namespace lv_vmath_rcp28 {

[[gnu::always_inline]] inline __m512 Rcp28(__m512 v) {
#if defined(LV_NATIVE_RCP28)
  return _mm512_rcp28_ps(v);
#else
  return _mm512_div_ps(_mm512_set1_ps(1.0f), v);
#endif
}

}  // namespace lv_vmath_rcp28
