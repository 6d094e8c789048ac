// The thresholds, written once and built once per processor class
// (threshold_sse2.cpp ... threshold_avx512.cpp). Class differences are chosen
// with `if constexpr (kClass ...)`; wide code is guarded by the
// instruction-set macros of the class's flags.
//
// The result of an element depends on the element and the level alone; the
// roads below (heads that align the destination, vector groups, tails) change
// only the speed. The float vector forms are MAXPS (Less) and MINPS (Greater)
// with the element first: the instruction returns its second operand, the
// level, whenever the comparison is false, exactly as the scalar rule does.
#include <immintrin.h>

#include <cstdint>

#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/threshold/threshold.h"
#include "primitives/threshold/threshold_classes.h"

// Classes 0-3 run their float entry points through a by-code routine (the
// compare code CompareLess or CompareGreater as an argument), which they also
// export as ThresholdByCodeFloat32<Sfx>; classes 4-7 check and clip directly.
#define LV_THRESHOLD_FLOAT32_BY_CODE (LV_CLASS <= 3)

namespace LV_NS {
namespace {

[[gnu::always_inline]] inline uintptr_t Addr(const void* p) { return reinterpret_cast<uintptr_t>(p); }

// Single elements are read and written by their bytes: a vector need not be
// aligned to its element size, and a plain access at such an address is
// undefined.
template <typename T>
[[gnu::always_inline]] inline T At(const T* s, int64_t i) {
  T v;
  __builtin_memcpy(&v, s + i, sizeof(T));
  return v;
}
template <typename T>
[[gnu::always_inline]] inline void Put(T* d, int64_t i, T v) {
  __builtin_memcpy(d + i, &v, sizeof(T));
}

[[gnu::always_inline]] inline void EndKernel() {
#ifdef __AVX__
  _mm256_zeroupper();
#endif
}

// Scalar rules. Less clips from below, Greater from above.
template <bool Less>
[[gnu::always_inline]] inline float Clip(float x, float level) {
  return Less ? (x > level ? x : level) : (x < level ? x : level);
}
template <bool Less>
[[gnu::always_inline]] inline double Clip(double x, double level) {
  return Less ? (x > level ? x : level) : (x < level ? x : level);
}
template <bool Less>
[[gnu::always_inline]] inline int32_t Clip(int32_t x, int32_t level) {
  return Less ? (x < level ? level : x) : (x > level ? level : x);
}

template <bool Less>
[[gnu::always_inline]] inline __m128 Clip4(__m128 x, __m128 level) {
  return Less ? _mm_max_ps(x, level) : _mm_min_ps(x, level);
}
template <bool Less>
[[gnu::always_inline]] inline __m128d Clip2(__m128d x, __m128d level) {
  return Less ? _mm_max_pd(x, level) : _mm_min_pd(x, level);
}
// Integers without branches: a signed greater-than mask selects the level.
template <bool Less>
[[gnu::always_inline]] inline __m128i ClipI4(__m128i x, __m128i level) {
  const __m128i take = Less ? _mm_cmpgt_epi32(level, x) : _mm_cmpgt_epi32(x, level);
  return _mm_or_si128(_mm_and_si128(take, level), _mm_andnot_si128(take, x));
}
#ifdef __AVX__
template <bool Less>
[[gnu::always_inline]] inline __m256 Clip8(__m256 x, __m256 level) {
  return Less ? _mm256_max_ps(x, level) : _mm256_min_ps(x, level);
}
#endif
#ifdef __AVX512F__
template <bool Less>
[[gnu::always_inline]] inline __m512 Clip16(__m512 x, __m512 level) {
  // The merge-masked forms with every lane selected: the unmasked intrinsics
  // of this compiler read an undefined vector and trip its uninitialised-use
  // warning.
  return Less ? _mm512_mask_max_ps(x, __mmask16(0xFFFF), x, level) : _mm512_mask_min_ps(x, __mmask16(0xFFFF), x, level);
}
#endif

template <typename T, bool Less>
[[gnu::always_inline]] inline void Singles(const T* s, T* d, int64_t from, int64_t to, T level) {
  for (int64_t i = from; i < to; ++i) Put(d, i, Clip<Less>(At(s, i), level));
}

[[gnu::always_inline]] inline void Store4(float* d, __m128 v, bool aligned) {
  if (aligned) {
    _mm_store_ps(d, v);
  } else {
    _mm_storeu_ps(d, v);
  }
}

// ---------------------------------------------------------------------------
// Floats

// Class 0: head to 16 bytes of the destination, groups of 8, groups of 4.
template <bool Less>
void Float32Class0(const float* s, float* d, int64_t n, float level) {
  const uintptr_t a = Addr(d);
  const int64_t h = a % 16 != 0 ? int64_t(16 - a % 16) / 4 : 0;
  int64_t i = 0;
  if (!(n < 8 || a % 4 != 0 || n < h + 8)) {
    Singles<float, Less>(s, d, 0, h, level);
    i = h;
    const __m128 lv = _mm_set1_ps(level);
    for (; n - i >= 8; i += 8) {
      const __m128 x0 = _mm_loadu_ps(s + i), x1 = _mm_loadu_ps(s + i + 4);
      _mm_store_ps(d + i, Clip4<Less>(x0, lv));
      _mm_store_ps(d + i + 4, Clip4<Less>(x1, lv));
    }
    for (; n - i >= 4; i += 4) _mm_store_ps(d + i, Clip4<Less>(_mm_loadu_ps(s + i), lv));
  }
  Singles<float, Less>(s, d, i, n, level);
}

// Classes 1 to 3: singles while bit 2 or 3 of the destination is set, groups
// of 8, then a tail of 4, 2 and 1.
template <bool Less>
void Float32Sse(const float* s, float* d, int64_t n, float level) {
  int64_t i = 0;
  while (i < n && (Addr(d + i) & 12) != 0) {
    Put(d, i, Clip<Less>(At(s, i), level));
    ++i;
  }
  const bool aligned = Addr(d + i) % 16 == 0;
  const __m128 lv = _mm_set1_ps(level);
  for (; n - i >= 8; i += 8) {
    const __m128 x0 = _mm_loadu_ps(s + i), x1 = _mm_loadu_ps(s + i + 4);
    Store4(d + i, Clip4<Less>(x0, lv), aligned);
    Store4(d + i + 4, Clip4<Less>(x1, lv), aligned);
  }
  if (n - i >= 4) {
    Store4(d + i, Clip4<Less>(_mm_loadu_ps(s + i), lv), aligned);
    i += 4;
  }
  if (n - i >= 2) {
    const __m128 x = _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), _mm_castps_si128(Clip4<Less>(x, lv)));
    i += 2;
  }
  Singles<float, Less>(s, d, i, n, level);
}

#ifdef __AVX__
// Groups of 16 (two 8-lane vectors) from element i while they last.
template <bool Less>
[[gnu::always_inline]] inline int64_t Groups16(const float* s, float* d, int64_t i, int64_t n, __m256 lv,
                                               bool aligned) {
  for (; n - i >= 16; i += 16) {
    const __m256 x0 = _mm256_loadu_ps(s + i), x1 = _mm256_loadu_ps(s + i + 8);
    if (aligned) {
      _mm256_store_ps(d + i, Clip8<Less>(x0, lv));
      _mm256_store_ps(d + i + 8, Clip8<Less>(x1, lv));
    } else {
      _mm256_storeu_ps(d + i, Clip8<Less>(x0, lv));
      _mm256_storeu_ps(d + i + 8, Clip8<Less>(x1, lv));
    }
  }
  return i;
}

template <bool Less>
[[gnu::always_inline]] inline int64_t Groups4(const float* s, float* d, int64_t i, int64_t n, float level) {
  const __m128 lv = _mm_set1_ps(level);
  for (; n - i >= 4; i += 4) _mm_storeu_ps(d + i, Clip4<Less>(_mm_loadu_ps(s + i), lv));
  return i;
}

// Classes 4 and 5: head to 32 bytes of the destination, groups of 16, groups
// of 4. Class 5 runs short vectors as groups of 4, and 16 to 28 elements as
// groups of 16 from element 0 without a head.
template <bool Less>
void Float32Avx(const float* s, float* d, int64_t n, float level) {
  const uintptr_t a = Addr(d);
  const int64_t h = a % 32 != 0 ? int64_t(32 - a % 32) / 4 : 0;
  const __m256 lv = _mm256_set1_ps(level);
  int64_t i = 0;
  if (kClass == 5 && n >= 16 && n < 29) {
    i = Groups16<Less>(s, d, 0, n, lv, false);
    i = Groups4<Less>(s, d, i, n, level);
  } else if (n < 16 || a % 4 != 0 || n < h + 16) {
    if (kClass == 5) i = Groups4<Less>(s, d, 0, n, level);
  } else {
    Singles<float, Less>(s, d, 0, h, level);
    i = Groups16<Less>(s, d, h, n, lv, true);
    i = Groups4<Less>(s, d, i, n, level);
  }
  Singles<float, Less>(s, d, i, n, level);
  EndKernel();
}
#endif

#ifdef __AVX512F__
[[gnu::always_inline]] inline __mmask16 FirstLanes(int64_t k) {
  return k >= 16 ? __mmask16(0xFFFF) : __mmask16((1u << k) - 1);
}

// Masked groups of 16 from element i to the end.
template <bool Less>
[[gnu::always_inline]] inline void MaskedGroups16(const float* s, float* d, int64_t i, int64_t n, __m512 lv) {
  for (; i < n; i += 16) {
    const __mmask16 k = FirstLanes(n - i);
    _mm512_mask_storeu_ps(d + i, k, Clip16<Less>(_mm512_maskz_loadu_ps(k, s + i), lv));
  }
}

// Classes 6 and 7: groups of 32 (two 16-lane vectors), masked head and tail.
template <bool Less>
void Float32Avx512(const float* s, float* d, int64_t n, float level) {
  const __m512 lv = _mm512_set1_ps(level);
  const uintptr_t a = Addr(d);
  int64_t i = 0;
  bool aligned = false;
  if (n >= 217 && a % 4 != 0) {
    MaskedGroups16<Less>(s, d, 0, n, lv);
    EndKernel();
    return;
  }
  if (n >= 217) {
    int64_t h = int64_t(64 - a % 64) / 4;
    if (h > n) h = n;
    const __mmask16 k = FirstLanes(h);
    _mm512_mask_storeu_ps(d, k, Clip16<Less>(_mm512_maskz_loadu_ps(k, s), lv));
    i = h;
    aligned = true;
  }
  for (; n - i >= 32; i += 32) {
    const __m512 x0 = _mm512_loadu_ps(s + i), x1 = _mm512_loadu_ps(s + i + 16);
    if (aligned) {
      _mm512_store_ps(d + i, Clip16<Less>(x0, lv));
      _mm512_store_ps(d + i + 16, Clip16<Less>(x1, lv));
    } else {
      _mm512_storeu_ps(d + i, Clip16<Less>(x0, lv));
      _mm512_storeu_ps(d + i + 16, Clip16<Less>(x1, lv));
    }
  }
  MaskedGroups16<Less>(s, d, i, n, lv);
  EndKernel();
}
#endif

template <bool Less>
void Float32Road(const float* s, float* d, int64_t n, float level) {
  if constexpr (kClass == 0) {
    Float32Class0<Less>(s, d, n, level);
  } else if constexpr (kClass <= 3) {
    Float32Sse<Less>(s, d, n, level);
  } else if constexpr (kClass <= 5) {
#ifdef __AVX__
    Float32Avx<Less>(s, d, n, level);
#endif
  } else {
#ifdef __AVX512F__
    Float32Avx512<Less>(s, d, n, level);
#endif
  }
}

int32_t ByCodeFloat32(const float* src, float* dst, int32_t n, float level, int32_t code) {
  if (src == nullptr || dst == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (code == CompareLess) {
    Float32Road<true>(src, dst, n, level);
  } else if (code == CompareGreater) {
    Float32Road<false>(src, dst, n, level);
  } else {
    return StatusBadArgument;
  }
  return StatusOk;
}

template <bool Less>
int32_t Float32(const float* src, float* dst, int32_t n, float level) {
  if constexpr (LV_THRESHOLD_FLOAT32_BY_CODE) {
    return ByCodeFloat32(src, dst, n, level, Less ? CompareLess : CompareGreater);
  } else {
    if (src == nullptr || dst == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    Float32Road<Less>(src, dst, n, level);
    return StatusOk;
  }
}

// ---------------------------------------------------------------------------
// Doubles

// Class 0: groups of 8 (four 2-lane vectors), then a group of 4, then singles.
template <bool Less>
void Float64Class0(const double* s, double* d, int64_t n, double level) {
  const __m128d lv = _mm_set1_pd(level);
  int64_t i = 0;
  for (; n - i >= 8; i += 8) {
    const __m128d x0 = _mm_loadu_pd(s + i), x1 = _mm_loadu_pd(s + i + 2), x2 = _mm_loadu_pd(s + i + 4),
                  x3 = _mm_loadu_pd(s + i + 6);
    _mm_storeu_pd(d + i, Clip2<Less>(x0, lv));
    _mm_storeu_pd(d + i + 2, Clip2<Less>(x1, lv));
    _mm_storeu_pd(d + i + 4, Clip2<Less>(x2, lv));
    _mm_storeu_pd(d + i + 6, Clip2<Less>(x3, lv));
  }
  if (n - i >= 4) {
    const __m128d x0 = _mm_loadu_pd(s + i), x1 = _mm_loadu_pd(s + i + 2);
    _mm_storeu_pd(d + i, Clip2<Less>(x0, lv));
    _mm_storeu_pd(d + i + 2, Clip2<Less>(x1, lv));
    i += 4;
  }
  Singles<double, Less>(s, d, i, n, level);
}

// Classes 1 to 7: one single first when bit 3 of the destination is set, then
// pairs, then a last single.
template <bool Less>
void Float64Kernel(const double* s, double* d, int64_t n, double level) {
  int64_t i = 0;
  if ((Addr(d) & 8) != 0) {
    Put(d, 0, Clip<Less>(At(s, 0), level));
    i = 1;
  }
  const __m128d lv = _mm_set1_pd(level);
  if (Addr(d + i) % 16 == 0) {
    for (; n - i >= 2; i += 2) _mm_store_pd(d + i, Clip2<Less>(_mm_loadu_pd(s + i), lv));
  } else {
    for (; n - i >= 2; i += 2) _mm_storeu_pd(d + i, Clip2<Less>(_mm_loadu_pd(s + i), lv));
  }
  Singles<double, Less>(s, d, i, n, level);
  EndKernel();
}

int32_t ByCodeFloat64(const double* src, double* dst, int32_t n, double level, int32_t code) {
  if (src == nullptr || dst == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (code != CompareLess && code != CompareGreater) return StatusBadArgument;
  const bool less = code == CompareLess;
  if constexpr (kClass == 0) {
    less ? Float64Class0<true>(src, dst, n, level) : Float64Class0<false>(src, dst, n, level);
  } else {
    less ? Float64Kernel<true>(src, dst, n, level) : Float64Kernel<false>(src, dst, n, level);
  }
  return StatusOk;
}

// ---------------------------------------------------------------------------
// Integers

// Class 0: head to 16 bytes of the destination, groups of 4, singles.
template <bool Less>
void Int32Class0(const int32_t* s, int32_t* d, int64_t n, int32_t level) {
  const uintptr_t a = Addr(d);
  const int64_t h = a % 16 != 0 ? int64_t(16 - a % 16) / 4 : 0;
  int64_t i = 0;
  if (!(n < 4 || a % 4 != 0 || n < h + 4)) {
    Singles<int32_t, Less>(s, d, 0, h, level);
    i = h;
    const __m128i lv = _mm_set1_epi32(level);
    for (; n - i >= 4; i += 4) {
      _mm_store_si128(reinterpret_cast<__m128i*>(d + i),
                      ClipI4<Less>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)), lv));
    }
  }
  Singles<int32_t, Less>(s, d, i, n, level);
}

// Classes 1 to 7: singles while bit 2 or 3 of the destination is set, groups
// of 8, then a tail of 4, 2 and 1.
template <bool Less>
void Int32Kernel(const int32_t* s, int32_t* d, int64_t n, int32_t level) {
  int64_t i = 0;
  while (i < n && (Addr(d + i) & 12) != 0) {
    Put(d, i, Clip<Less>(At(s, i), level));
    ++i;
  }
  const __m128i lv = _mm_set1_epi32(level);
  auto load = [&](int64_t j) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + j)); };
  auto store = [&](int64_t j, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(d + j), v); };
  for (; n - i >= 8; i += 8) {
    const __m128i x0 = load(i), x1 = load(i + 4);
    store(i, ClipI4<Less>(x0, lv));
    store(i + 4, ClipI4<Less>(x1, lv));
  }
  if (n - i >= 4) {
    store(i, ClipI4<Less>(load(i), lv));
    i += 4;
  }
  if (n - i >= 2) {
    const __m128i x = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), ClipI4<Less>(x, lv));
    i += 2;
  }
  Singles<int32_t, Less>(s, d, i, n, level);
  EndKernel();
}

template <bool Less>
int32_t Int32(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  if (src == nullptr || dst == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if constexpr (kClass == 0) {
    Int32Class0<Less>(src, dst, n, level);
  } else {
    Int32Kernel<Less>(src, dst, n, level);
  }
  return StatusOk;
}

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorThresholdLessInt32)(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return LV_NS::Int32<true>(src, dst, n, level);
}
int32_t LV_NAME(VectorThresholdGreaterInt32)(const int32_t* src, int32_t* dst, int32_t n, int32_t level) {
  return LV_NS::Int32<false>(src, dst, n, level);
}
int32_t LV_NAME(VectorThresholdLessFloat32)(const float* src, float* dst, int32_t n, float level) {
  return LV_NS::Float32<true>(src, dst, n, level);
}
int32_t LV_NAME(VectorThresholdGreaterFloat32)(const float* src, float* dst, int32_t n, float level) {
  return LV_NS::Float32<false>(src, dst, n, level);
}
int32_t LV_NAME(VectorThresholdLessFloat64)(const double* src, double* dst, int32_t n, double level) {
  return LV_NS::ByCodeFloat64(src, dst, n, level, CompareLess);
}
int32_t LV_NAME(VectorThresholdGreaterFloat64)(const double* src, double* dst, int32_t n, double level) {
  return LV_NS::ByCodeFloat64(src, dst, n, level, CompareGreater);
}
int32_t LV_NAME(ThresholdByCodeFloat64)(const double* src, double* dst, int32_t n, double level, int32_t code) {
  return LV_NS::ByCodeFloat64(src, dst, n, level, code);
}
#if LV_THRESHOLD_FLOAT32_BY_CODE
int32_t LV_NAME(ThresholdByCodeFloat32)(const float* src, float* dst, int32_t n, float level, int32_t code) {
  return LV_NS::ByCodeFloat32(src, dst, n, level, code);
}
#endif
