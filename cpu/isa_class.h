// Compile-time identity of a per-class source file.
//
// Every per-class file (name ending in _sse2.cpp ... _avx512.cpp) opens with
// LV_ASSERT_CLASS(k): it fails the build when the file was compiled with flags
// other than exactly those of class k, before the isa_audit check could notice.
#pragma once

namespace lv_isa {

#if defined(__AVX512F__) && defined(__AVX512CD__) && defined(__AVX512BW__) && defined(__AVX512DQ__) && \
    defined(__AVX512VL__) && defined(__FMA__) && defined(__AVX2__) && !defined(__AVX512ER__) && !defined(__AVX512PF__) && \
    !defined(__AVX512VBMI__) && !defined(__AVX512IFMA__)
inline constexpr int kCompiledClass = 7;
#elif defined(__AVX512F__) && defined(__AVX512CD__) && defined(__FMA__) && defined(__AVX2__) && !defined(__AVX512BW__) && \
    !defined(__AVX512DQ__) && !defined(__AVX512VL__) && !defined(__AVX512PF__) && \
    (!defined(__AVX512ER__) || defined(LV_NATIVE_RCP28))
inline constexpr int kCompiledClass = 6;
#elif defined(__AVX2__) && defined(__FMA__) && defined(__BMI__) && defined(__BMI2__) && !defined(__AVX512F__)
inline constexpr int kCompiledClass = 5;
#elif defined(__AVX__) && !defined(__AVX2__) && !defined(__FMA__) && !defined(__F16C__)
inline constexpr int kCompiledClass = 4;
#elif defined(__SSE4_2__) && defined(__POPCNT__) && !defined(__AVX__)
inline constexpr int kCompiledClass = 3;
#elif defined(__SSSE3__) && !defined(__SSE4_1__) && !defined(__AVX__)
inline constexpr int kCompiledClass = 2;
#elif defined(__SSE3__) && !defined(__SSSE3__) && !defined(__AVX__)
inline constexpr int kCompiledClass = 1;
#elif defined(__SSE2__) && !defined(__SSE3__) && !defined(__AVX__)
inline constexpr int kCompiledClass = 0;
#else
inline constexpr int kCompiledClass = -1;
#endif

}  // namespace lv_isa

#define LV_ASSERT_CLASS(k)                 \
  static_assert(::lv_isa::kCompiledClass == (k), \
                "this per-class file was compiled with the flags of another processor class")
