// The scalar square roots, written once and built once per processor class
// (sqrt_sse2.cpp ... sqrt_avx512.cpp).
#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "cpu/per_class.h"
#include "primitives/sqrt/sqrt_classes.h"

namespace LV_NS {
namespace {

struct SqrtClass {
  // The double root decides on the two 32-bit halves of the argument
  // (F64Halves) rather than on the 64-bit word (F64).
  bool halves;
  // VEX-encoded code: the upper vector halves are cleared before returning.
  bool vex;
};
// The class table.
constexpr SqrtClass kSqrtClasses[kProcessorClassCount] = {
    {true, false},   // 0 Sse2
    {false, false},  // 1 Sse3
    {false, false},  // 2 Ssse3
    {false, false},  // 3 Sse42
    {false, true},   // 4 Avx
    {false, true},   // 5 Avx2
    {false, true},   // 6 Avx512ManyCore
    {false, true},   // 7 Avx512
};

// Clears the upper vector halves before returning from VEX code, whose
// callers may go on with legacy SSE code.
[[gnu::always_inline]] inline void Leave() {
  if constexpr (kSqrtClasses[kClass].vex) {
    _mm256_zeroupper();
  }
}
// The default NaN, made by the processor at run time: +0 * +infinity.
[[gnu::always_inline]] inline double DefaultNaN64() {
  double zero = 0.0, inf = __builtin_inf();
  __asm__("" : "+x"(zero));  // keep the product from being folded at compile time
  return zero * inf;
}
[[gnu::always_inline]] inline float DefaultNaN32() {
  float zero = 0.0f, inf = __builtin_inff();
  __asm__("" : "+x"(zero));
  return zero * inf;
}

inline double F64(double x) {
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
inline double F64Halves(double x) {
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

inline float F32(float x) {
  uint32_t b;
  __builtin_memcpy(&b, &x, 4);
  float r;
  if (b <= 0x7F800000u) {
    r = _mm_cvtss_f32(_mm_sqrt_ss(_mm_set_ss(x)));
  } else if (b == 0x80000000u) {
    r = x;
  } else if ((b & 0x7FFFFFFFu) > 0x7F800000u) {
    r = x + x;
  } else if constexpr (kClass == 0) {
    r = static_cast<float>(DefaultNaN64());  // formed in double, rounded to float
  } else {
    r = DefaultNaN32();
  }
  Leave();
  return r;
}

}  // namespace
}  // namespace LV_NS

double LV_NAME(ScalarSqrtFloat64)(double x) {
  if constexpr (LV_NS::kSqrtClasses[LV_NS::kClass].halves) {
    return LV_NS::F64Halves(x);
  } else {
    return LV_NS::F64(x);
  }
}
#if LV_SQRT_HAS_FLOAT32(LV_CLASS)
float LV_NAME(ScalarSqrtFloat32)(float x) { return LV_NS::F32(x); }
#endif
