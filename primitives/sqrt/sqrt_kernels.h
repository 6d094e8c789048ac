// Bodies of the scalar square roots, instantiated inside each class's
// namespace (Sqrt<K> with a K local to the class file).
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace lv_sqrt {

template <class K>
struct Sqrt {
  // Clears the upper vector halves before returning from VEX code, whose
  // callers may go on with legacy SSE code.
  [[gnu::always_inline]] static inline void Leave() {
    if constexpr (K::kVex) {
      _mm256_zeroupper();
    }
  }
  // The default NaN, made by the processor at run time: +0 * +infinity.
  [[gnu::always_inline]] static inline double DefaultNaN64() {
    double zero = 0.0, inf = __builtin_inf();
    __asm__("" : "+x"(zero));  // keep the product from being folded at compile time
    return zero * inf;
  }
  [[gnu::always_inline]] static inline float DefaultNaN32() {
    float zero = 0.0f, inf = __builtin_inff();
    __asm__("" : "+x"(zero));
    return zero * inf;
  }

  static double F64(double x) {
    uint64_t b;
    __builtin_memcpy(&b, &x, 8);
    double r;
    if (b <= 0x7FF0000000000000ull) {
      r = _mm_cvtsd_f64(_mm_sqrt_sd(_mm_set_sd(x), _mm_set_sd(x)));
    } else if (b == 0x8000000000000000ull) {
      r = x;
    } else if ((b & 0x7FFFFFFFFFFFFFFFull) > 0x7FF0000000000000ull) {
      r = x + x;
    } else {
      r = DefaultNaN64();
    }
    Leave();
    return r;
  }

  // Class 0: the same decisions made on the two 32-bit halves. A positive NaN
  // whose high half is 0x7FF00000 goes to the square-root instruction, which
  // quietens it exactly as x + x would.
  static double F64Halves(double x) {
    uint64_t b;
    __builtin_memcpy(&b, &x, 8);
    const uint32_t hi = static_cast<uint32_t>(b >> 32), lo = static_cast<uint32_t>(b);
    if (hi <= 0x7FF00000u) {
      return _mm_cvtsd_f64(_mm_sqrt_sd(_mm_set_sd(x), _mm_set_sd(x)));
    }
    const uint32_t folded = hi | (lo != 0 ? 1u : 0u);
    if (folded == 0x80000000u) {
      return x;
    }
    if ((folded & 0x7FFFFFFFu) > 0x7FF00000u) {
      return x + x;
    }
    return DefaultNaN64();
  }

  static float F32(float x) {
    uint32_t b;
    __builtin_memcpy(&b, &x, 4);
    float r;
    if (b <= 0x7F800000u) {
      r = _mm_cvtss_f32(_mm_sqrt_ss(_mm_set_ss(x)));
    } else if (b == 0x80000000u) {
      r = x;
    } else if ((b & 0x7FFFFFFFu) > 0x7F800000u) {
      r = x + x;
    } else if constexpr (K::kClass == 0) {
      r = static_cast<float>(DefaultNaN64());  // formed in double, rounded to float
    } else {
      r = DefaultNaN32();
    }
    Leave();
    return r;
  }
};

}  // namespace lv_sqrt
