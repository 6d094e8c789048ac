// The table-free logarithm kernels of classes 2 to 5: x = 2^k m with m in
// [2/3, 4/3) by integer arithmetic on the pattern, f = m - 1, a degree-9
// polynomial. Classes 2 and 3 use four lanes, classes 4 and 5 eight (class 4
// without 256-bit integer operations: the pattern work runs on 128-bit
// halves); class 5 fuses the polynomial. Templates over a tag type from the
// including class's own namespace.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "cpu/dispatch.h"
#include "vmath/ln/ln_constants.h"
#include "vmath/vmath_record.h"

namespace lv_vmath_ln {

using LnSpecialFn = int32_t (*)(const float*, float*);

// Four lanes, SSE2.
template <class Tag>
struct Ln4 {
  using V = __m128;
  static constexpr int kLanes = 4;
  [[gnu::always_inline]] static inline int SpecialBits(V x) {
    const __m128i u = _mm_castps_si128(x);
    const __m128i t = _mm_add_epi32(u, _mm_set1_epi32(0x00800000));
    return _mm_movemask_ps(_mm_castsi128_ps(_mm_cmplt_epi32(t, _mm_set1_epi32(0x01000000))));
  }
  [[gnu::always_inline]] static inline V Ln(V x) {
    const __m128i u = _mm_castps_si128(x);
    const __m128i v = _mm_sub_epi32(u, _mm_set1_epi32(static_cast<int>(kTwoThirdsBits)));
    const V k = _mm_cvtepi32_ps(_mm_srai_epi32(v, 23));
    const V m = _mm_castsi128_ps(
        _mm_add_epi32(_mm_and_si128(v, _mm_set1_epi32(0x007FFFFF)), _mm_set1_epi32(static_cast<int>(kTwoThirdsBits))));
    const V f = _mm_sub_ps(m, _mm_set1_ps(1.0f));
    V q = _mm_set1_ps(kC9);
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC8));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC7));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC6));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC5));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC4));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC3));
    q = _mm_mul_ps(_mm_mul_ps(q, f), f);
    return _mm_add_ps(_mm_add_ps(f, q), _mm_mul_ps(k, _mm_set1_ps(kLn2)));
  }
  [[gnu::always_inline]] static inline V LoadPartial(const float* p, int m) {
    alignas(16) float t[4] = {kFill, kFill, kFill, kFill};
    for (int i = 0; i < m; ++i) {
      t[i] = p[i];
    }
    return _mm_load_ps(t);
  }
  [[gnu::always_inline]] static inline void StorePartial(float* p, V v, int m) {
    alignas(16) float t[4];
    _mm_store_ps(t, v);
    for (int i = 0; i < m; ++i) {
      p[i] = t[i];
    }
  }
  [[gnu::always_inline]] static inline V LoadU(const float* p) { return _mm_loadu_ps(p); }
  [[gnu::always_inline]] static inline void StoreU(float* p, V v) { _mm_storeu_ps(p, v); }
  [[gnu::always_inline]] static inline void Store(float* p, V v) { _mm_store_ps(p, v); }
  [[gnu::always_inline]] static inline V Load(const float* p) { return _mm_load_ps(p); }
};

// Eight lanes, AVX; kFused: class 5 (AVX2 and FMA), else class 4.
template <class Tag, bool kFused>
struct Ln8 {
  using V = __m256;
  static constexpr int kLanes = 8;
  [[gnu::always_inline]] static inline __m256i Combine(__m128i lo, __m128i hi) {
    return _mm256_insertf128_si256(_mm256_castsi128_si256(lo), hi, 1);
  }
  [[gnu::always_inline]] static inline int SpecialBits(V x) {
    if constexpr (kFused) {
      const __m256i t = _mm256_add_epi32(_mm256_castps_si256(x), _mm256_set1_epi32(0x00800000));
      return _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(_mm256_set1_epi32(0x01000000), t)));
    } else {
      const __m256i u = _mm256_castps_si256(x);
      const __m128i lim = _mm_set1_epi32(0x01000000);
      const __m128i add = _mm_set1_epi32(0x00800000);
      const __m128i lo = _mm_cmplt_epi32(_mm_add_epi32(_mm256_castsi256_si128(u), add), lim);
      const __m128i hi = _mm_cmplt_epi32(_mm_add_epi32(_mm256_extractf128_si256(u, 1), add), lim);
      return _mm256_movemask_ps(_mm256_castsi256_ps(Combine(lo, hi)));
    }
  }
  [[gnu::always_inline]] static inline V Ln(V x) {
    __m256i k;
    __m256i mBits;
    if constexpr (kFused) {
      const __m256i v = _mm256_sub_epi32(_mm256_castps_si256(x), _mm256_set1_epi32(static_cast<int>(kTwoThirdsBits)));
      k = _mm256_srai_epi32(v, 23);
      mBits = _mm256_add_epi32(_mm256_and_si256(v, _mm256_set1_epi32(0x007FFFFF)),
                               _mm256_set1_epi32(static_cast<int>(kTwoThirdsBits)));
    } else {
      const __m256i u = _mm256_castps_si256(x);
      const __m128i c = _mm_set1_epi32(static_cast<int>(kTwoThirdsBits));
      const __m128i mask = _mm_set1_epi32(0x007FFFFF);
      const __m128i vLo = _mm_sub_epi32(_mm256_castsi256_si128(u), c);
      const __m128i vHi = _mm_sub_epi32(_mm256_extractf128_si256(u, 1), c);
      k = Combine(_mm_srai_epi32(vLo, 23), _mm_srai_epi32(vHi, 23));
      mBits = Combine(_mm_add_epi32(_mm_and_si128(vLo, mask), c), _mm_add_epi32(_mm_and_si128(vHi, mask), c));
    }
    const V kf = _mm256_cvtepi32_ps(k);
    const V f = _mm256_sub_ps(_mm256_castsi256_ps(mBits), _mm256_set1_ps(1.0f));
    if constexpr (kFused) {
      V q = _mm256_fmadd_ps(_mm256_set1_ps(kC9), f, _mm256_set1_ps(kC8));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC7));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC6));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC5));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC4));
      q = _mm256_fmadd_ps(q, f, _mm256_set1_ps(kC3));
      q = _mm256_mul_ps(q, f);
      q = _mm256_fmadd_ps(q, f, f);
      return _mm256_fmadd_ps(kf, _mm256_set1_ps(kLn2), q);
    } else {
      V q = _mm256_set1_ps(kC9);
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC8));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC7));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC6));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC5));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC4));
      q = _mm256_add_ps(_mm256_mul_ps(q, f), _mm256_set1_ps(kC3));
      q = _mm256_mul_ps(_mm256_mul_ps(q, f), f);
      return _mm256_add_ps(_mm256_add_ps(f, q), _mm256_mul_ps(kf, _mm256_set1_ps(kLn2)));
    }
  }
  [[gnu::always_inline]] static inline __m256i Mask(int m) {
    alignas(32) static constexpr int32_t kRows[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0};
    return _mm256_castps_si256(_mm256_loadu_ps(reinterpret_cast<const float*>(kRows + 8 - m)));
  }
  [[gnu::always_inline]] static inline V LoadPartial(const float* p, int m) {
    const __m256i mask = Mask(m);
    return _mm256_blendv_ps(_mm256_set1_ps(kFill), _mm256_maskload_ps(p, mask), _mm256_castsi256_ps(mask));
  }
  [[gnu::always_inline]] static inline void StorePartial(float* p, V v, int m) { _mm256_maskstore_ps(p, Mask(m), v); }
  [[gnu::always_inline]] static inline V LoadU(const float* p) { return _mm256_loadu_ps(p); }
  [[gnu::always_inline]] static inline void StoreU(float* p, V v) { _mm256_storeu_ps(p, v); }
  [[gnu::always_inline]] static inline void Store(float* p, V v) { _mm256_store_ps(p, v); }
  [[gnu::always_inline]] static inline V Load(const float* p) { return _mm256_load_ps(p); }
};

// The special lanes of a group, in index order: the routine's result replaces
// the lane's; a non-zero code is stored in dst, reported, and read back.
template <class O, int kVectors, LnSpecialFn kSpecial>
[[gnu::noinline]] int32_t FixLnLanes(typename O::V* v, const typename O::V* x, unsigned bits, const float* src,
                                     float* dst, int32_t base, int32_t status, int32_t* cell) {
  constexpr int L = O::kLanes;
  alignas(64) float xs[L * kVectors];
  alignas(64) float rs[L * kVectors];
  for (int b = 0; b < kVectors; ++b) {
    O::Store(xs + L * b, x[b]);
    O::Store(rs + L * b, v[b]);
  }
  for (int lane = 0; bits != 0; ++lane, bits >>= 1) {
    if ((bits & 1u) == 0) {
      continue;
    }
    const int32_t code = kSpecial(&xs[lane], &rs[lane]);
    if (code != 0) {
      const int32_t i = base + lane;
      dst[i] = rs[lane];
      MathErrorCallback(code, i, src, src, dst, dst, cell);
      rs[lane] = dst[i];
      status = code;
    }
  }
  for (int b = 0; b < kVectors; ++b) {
    v[b] = O::Load(rs + L * b);
  }
  return status;
}

// Head up to src's alignment (16 bytes for four lanes, 32 for eight) in
// groups of at most one vector, blocks of 16, tail in groups.
template <class O, LnSpecialFn kSpecial>
[[gnu::always_inline]] inline int32_t PolyKernel(const float* src, float* dst, int32_t n, int32_t* cell) {
  constexpr int L = O::kLanes;
  constexpr int kVectors = 16 / L;
  if (n <= 0) {
    return -6;
  }
  if (src == nullptr || dst == nullptr) {
    return -8;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  int32_t status = 0;
  const auto group = [&](int32_t i, int m) {
    typename O::V x = O::LoadPartial(src + i, m);
    typename O::V v = O::Ln(x);
    const unsigned bits = static_cast<unsigned>(O::SpecialBits(x)) & ((1u << m) - 1);
    if (bits != 0) {
      status = FixLnLanes<O, 1, kSpecial>(&v, &x, bits, src, dst, i, status, cell);
    }
    O::StorePartial(dst + i, v, m);
  };
  constexpr uintptr_t kAlign = 4 * L;
  int32_t head = static_cast<int32_t>(((kAlign - (reinterpret_cast<uintptr_t>(src) & (kAlign - 1))) & (kAlign - 1)) / 4);
  if (head > n) {
    head = n;
  }
  int32_t i = 0;
  while (i < head) {
    const int m = (head - i < L) ? static_cast<int>(head - i) : L;
    group(i, m);
    i += m;
  }
  for (; n - i >= 16; i += 16) {
    typename O::V x[kVectors];
    typename O::V v[kVectors];
    unsigned bits = 0;
    for (int b = 0; b < kVectors; ++b) {
      x[b] = O::LoadU(src + i + L * b);
    }
    for (int b = 0; b < kVectors; ++b) {
      v[b] = O::Ln(x[b]);
      bits |= static_cast<unsigned>(O::SpecialBits(x[b])) << (L * b);
    }
    if (bits != 0) [[unlikely]] {
      status = FixLnLanes<O, kVectors, kSpecial>(v, x, bits, src, dst, i, status, cell);
    }
    for (int b = 0; b < kVectors; ++b) {
      O::StoreU(dst + i + L * b, v[b]);
    }
  }
  while (i < n) {
    const int m = (n - i < L) ? static_cast<int>(n - i) : L;
    group(i, m);
    i += m;
  }
  lv_vmath_env::LeaveKernel(env);
  return status;
}

}  // namespace lv_vmath_ln
