// Complex packing, written once and built once per processor class
// (complexpack_sse2.cpp ... complexpack_avx512.cpp): the functions below
// exist once per class, each built with that class's flags.
//
// Every move below is a load or store of whole floats (MOVSS, MOVQ, MOVAPS,
// SHUFPS, UNPCKLPS): no arithmetic touches the data, so NaN payloads and
// signed zeros come through bit for bit.
#include <immintrin.h>

#include <cstdint>

#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/vector_types.h"

namespace LV_NS {
namespace {

constexpr bool kAvxClass = kClass >= 4;

[[gnu::always_inline]] inline void EndKernel() {
  if constexpr (kAvxClass) {
    _mm256_zeroupper();
  }
}

[[gnu::always_inline]] inline bool IsAligned(const void* p, uintptr_t bytes) {
  return (reinterpret_cast<uintptr_t>(p) & (bytes - 1)) == 0;
}

// Class 0: plain loops. The split works in blocks: the real and then the
// imaginary parts of the leading n - n mod 4 elements, then the same for the
// last n mod 4 elements.
void SplitPlain(const float* src, float* re, float* im, int64_t n) {
  const int64_t lead = n - (n & 3);
  for (int64_t i = 0; i < lead; ++i) re[i] = src[2 * i];
  for (int64_t i = 0; i < lead; ++i) im[i] = src[2 * i + 1];
  for (int64_t i = lead; i < n; ++i) re[i] = src[2 * i];
  for (int64_t i = lead; i < n; ++i) im[i] = src[2 * i + 1];
}

void RealPartPlain(const float* src, float* re, int64_t n) {
  for (int64_t i = 0; i < n; ++i) re[i] = src[2 * i];
}

void JoinPlain(const float* re, const float* im, float* dst, int64_t n) {
  for (int64_t i = 0; i < n; ++i) {
    dst[2 * i] = re != nullptr ? re[i] : 0.0f;
    dst[2 * i + 1] = im != nullptr ? im[i] : 0.0f;
  }
}

// Takes one part (Part 0: the even floats, the real parts; Part 1: the odd
// floats, the imaginary parts) of n complex elements into dst.
template <int Part>
void PartKernel(const float* src, float* dst, int64_t n) {
  int64_t i = 0;
  // Single elements until the destination is 16-byte aligned.
  while (i < n && !IsAligned(dst + i, 16)) {
    dst[i] = src[2 * i + Part];
    ++i;
  }
  if (IsAligned(src + 2 * i, 16)) {
    // Rounds of 16 elements: eight aligned loads, four aligned stores.
    constexpr int kSel = Part == 0 ? _MM_SHUFFLE(2, 0, 2, 0) : _MM_SHUFFLE(3, 1, 3, 1);
    for (; n - i >= 16; i += 16) {
      const float* s = src + 2 * i;
      const __m128 a0 = _mm_load_ps(s), a1 = _mm_load_ps(s + 4), a2 = _mm_load_ps(s + 8), a3 = _mm_load_ps(s + 12);
      const __m128 a4 = _mm_load_ps(s + 16), a5 = _mm_load_ps(s + 20), a6 = _mm_load_ps(s + 24),
                   a7 = _mm_load_ps(s + 28);
      _mm_store_ps(dst + i, _mm_shuffle_ps(a0, a1, kSel));
      _mm_store_ps(dst + i + 4, _mm_shuffle_ps(a2, a3, kSel));
      _mm_store_ps(dst + i + 8, _mm_shuffle_ps(a4, a5, kSel));
      _mm_store_ps(dst + i + 12, _mm_shuffle_ps(a6, a7, kSel));
    }
  }
  // Rounds of 8 elements gathered from single-float loads into two aligned stores.
  for (; n - i >= 8; i += 8) {
    const float* s = src + 2 * i + Part;
    const __m128 lo = _mm_unpacklo_ps(_mm_unpacklo_ps(_mm_load_ss(s), _mm_load_ss(s + 4)),
                                      _mm_unpacklo_ps(_mm_load_ss(s + 2), _mm_load_ss(s + 6)));
    const __m128 hi = _mm_unpacklo_ps(_mm_unpacklo_ps(_mm_load_ss(s + 8), _mm_load_ss(s + 12)),
                                      _mm_unpacklo_ps(_mm_load_ss(s + 10), _mm_load_ss(s + 14)));
    _mm_store_ps(dst + i, lo);
    _mm_store_ps(dst + i + 4, hi);
  }
  for (; i < n; ++i) dst[i] = src[2 * i + Part];
  EndKernel();
}

// One complex element from the two parts (a null part reads as +0.0).
[[gnu::always_inline]] inline void JoinOne(const float* re, const float* im, float* dst, int64_t i) {
  dst[2 * i] = re != nullptr ? re[i] : 0.0f;
  dst[2 * i + 1] = im != nullptr ? im[i] : 0.0f;
}

// Two complex elements as four single-float moves.
[[gnu::always_inline]] inline void JoinPair(const float* re, const float* im, float* dst, int64_t i) {
  JoinOne(re, im, dst, i);
  JoinOne(re, im, dst, i + 1);
}

[[gnu::always_inline]] inline __m128 LoadTwo(const float* p) {
  return _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
}

// Classes 1 to 4. HasRe/HasIm tell which parts are present; an absent part is
// a zero vector (its pointer is not read).
template <bool HasRe, bool HasIm>
void JoinKernel(const float* re, const float* im, float* dst, int64_t n) {
  int64_t i = 0;
  const float* r = HasRe ? re : nullptr;
  const float* m = HasIm ? im : nullptr;
  bool pairRoad = !IsAligned(dst, 8);
  if (!pairRoad) {
    if (!IsAligned(dst, 16) && n > 0) {
      JoinOne(r, m, dst, 0);
      i = 1;
    }
    if (HasRe && HasIm && !IsAligned(re + i, 8) && !IsAligned(im + i, 8)) pairRoad = true;
  }
  if (!pairRoad) {
    const __m128 zero = _mm_setzero_ps();
    for (; n - i >= 8; i += 8) {
      __m128 a[4], b[4];
      for (int k = 0; k < 4; ++k) {
        a[k] = HasRe ? LoadTwo(re + i + 2 * k) : zero;
        b[k] = HasIm ? LoadTwo(im + i + 2 * k) : zero;
      }
      for (int k = 0; k < 4; ++k) _mm_store_ps(dst + 2 * (i + 2 * k), _mm_unpacklo_ps(a[k], b[k]));
    }
  }
  for (; n - i >= 2; i += 2) JoinPair(r, m, dst, i);
  if (i < n) JoinOne(r, m, dst, i);
  EndKernel();
}

// Classes 5 to 7: 32-byte loads of the parts, 16-byte stores of the result.
template <bool HasRe, bool HasIm>
void JoinKernel256(const float* re, const float* im, float* dst, int64_t n) {
  if constexpr (kClass >= 5) {
    const float* r = HasRe ? re : nullptr;
    const float* m = HasIm ? im : nullptr;
    int64_t i = 0;
    const __m128 zero4 = _mm_setzero_ps();
    const __m256 zero8 = _mm256_setzero_ps();
    // Head: bring an 8-byte-aligned destination to a 32-byte boundary.
    const uintptr_t bits = (reinterpret_cast<uintptr_t>(dst) >> 3) & 3;
    if (bits != 0) {
      int64_t h = 4 - static_cast<int64_t>(bits);
      if (h > n) h = n;
      if (h & 2) {
        const __m128 a = HasRe ? LoadTwo(re) : zero4;
        const __m128 b = HasIm ? LoadTwo(im) : zero4;
        _mm_storeu_ps(dst, _mm_unpacklo_ps(a, b));
        i = 2;
      }
      if (h & 1) {
        JoinOne(r, m, dst, i);
        ++i;
      }
    }
    for (; n - i >= 16; i += 16) {
      for (int k = 0; k < 16; k += 8) {
        const __m256 a = HasRe ? _mm256_loadu_ps(re + i + k) : zero8;
        const __m256 b = HasIm ? _mm256_loadu_ps(im + i + k) : zero8;
        const __m256 lo = _mm256_unpacklo_ps(a, b);  // elements 0, 1 | 4, 5
        const __m256 hi = _mm256_unpackhi_ps(a, b);  // elements 2, 3 | 6, 7
        float* d = dst + 2 * (i + k);
        _mm_storeu_ps(d, _mm256_castps256_ps128(lo));
        _mm_storeu_ps(d + 4, _mm256_castps256_ps128(hi));
        _mm_storeu_ps(d + 8, _mm256_extractf128_ps(lo, 1));
        _mm_storeu_ps(d + 12, _mm256_extractf128_ps(hi, 1));
      }
    }
    if (n - i >= 8) {
      const __m256 a = HasRe ? _mm256_loadu_ps(re + i) : zero8;
      const __m256 b = HasIm ? _mm256_loadu_ps(im + i) : zero8;
      const __m256 lo = _mm256_unpacklo_ps(a, b);
      const __m256 hi = _mm256_unpackhi_ps(a, b);
      float* d = dst + 2 * i;
      _mm_storeu_ps(d, _mm256_castps256_ps128(lo));
      _mm_storeu_ps(d + 4, _mm256_castps256_ps128(hi));
      _mm_storeu_ps(d + 8, _mm256_extractf128_ps(lo, 1));
      _mm_storeu_ps(d + 12, _mm256_extractf128_ps(hi, 1));
      i += 8;
    }
    // The last 0 to 7 elements by the bits of the count: 4, 2, 1.
    const int64_t rest = n - i;
    if (rest & 4) {
      const __m128 a = HasRe ? _mm_loadu_ps(re + i) : zero4;
      const __m128 b = HasIm ? _mm_loadu_ps(im + i) : zero4;
      _mm_storeu_ps(dst + 2 * i, _mm_unpacklo_ps(a, b));
      _mm_storeu_ps(dst + 2 * i + 4, _mm_unpackhi_ps(a, b));
      i += 4;
    }
    if (rest & 2) {
      const __m128 a = HasRe ? LoadTwo(re + i) : zero4;
      const __m128 b = HasIm ? LoadTwo(im + i) : zero4;
      _mm_storeu_ps(dst + 2 * i, _mm_unpacklo_ps(a, b));
      i += 2;
    }
    if (rest & 1) JoinOne(r, m, dst, i);
    EndKernel();
  }
}

int32_t Split(const ComplexFloat32* src, float* re, float* im, int32_t n) {
  if (src == nullptr || re == nullptr || im == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  const float* s = reinterpret_cast<const float*>(src);
  if constexpr (kClass == 0) {
    SplitPlain(s, re, im, n);
  } else {
    PartKernel<0>(s, re, n);
    PartKernel<1>(s, im, n);
  }
  return StatusOk;
}

int32_t RealPart(const ComplexFloat32* src, float* re, int32_t n) {
  if (src == nullptr || re == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  const float* s = reinterpret_cast<const float*>(src);
  if constexpr (kClass == 0) {
    RealPartPlain(s, re, n);
  } else {
    PartKernel<0>(s, re, n);
  }
  return StatusOk;
}

int32_t Join(const float* re, const float* im, ComplexFloat32* dst, int32_t n) {
  if (dst == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (re == nullptr && im == nullptr) return StatusNullPointer;
  float* d = reinterpret_cast<float*>(dst);
  if constexpr (kClass == 0) {
    JoinPlain(re, im, d, n);
  } else if constexpr (kClass <= 4) {
    if (re != nullptr && im != nullptr) {
      JoinKernel<true, true>(re, im, d, n);
    } else if (re != nullptr) {
      JoinKernel<true, false>(re, im, d, n);
    } else {
      JoinKernel<false, true>(re, im, d, n);
    }
  } else {
    if (re != nullptr && im != nullptr) {
      JoinKernel256<true, true>(re, im, d, n);
    } else if (re != nullptr) {
      JoinKernel256<true, false>(re, im, d, n);
    } else {
      JoinKernel256<false, true>(re, im, d, n);
    }
  }
  return StatusOk;
}

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorSplitComplexFloat32)(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return LV_NS::Split(src, dstRe, dstIm, n);
}

int32_t LV_NAME(VectorRealPartComplexFloat32)(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return LV_NS::RealPart(src, dstRe, n);
}

int32_t LV_NAME(VectorJoinComplexFloat32)(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return LV_NS::Join(srcRe, srcIm, dst, n);
}
