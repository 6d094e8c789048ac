// The extremes, written once and built once per processor class
// (extremes_sse2.cpp ... extremes_avx512.cpp). Class differences are chosen
// with `if constexpr (kClass ...)`; wide code is guarded by the
// instruction-set macros of the class's flags.
//
// Every road is written for both extremes at once: Ops<true> is the maximum,
// Ops<false> its twin, the minimum. Ops<M>::More(a, b) is the ordered
// comparison "a is more extreme than b"; Ops<M>::Ps(a, b) is the MAXPS/MINPS
// instruction, lane by lane `More(a, b) ? a : b`. Two rules follow from where
// the running value stands:
//   class 0 and the lane searches with positions: a running value r is
//     replaced by an element x only when More(x, r), so a NaN element is
//     passed over and equal values keep the running one;
//   the kernels of classes 1 to 7: Ps(running, incoming) keeps the running
//     value only when it is more extreme and takes the incoming otherwise, so
//     a NaN becomes its lane's running value and of two equal values the
//     incoming one stays.
#include <immintrin.h>

#include <cstdint>

#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/extremes/extremes_classes.h"

namespace LV_NS {
namespace {

constexpr int64_t kNoPosition = 0x7FFFFFFF;
// The block method's block length and the threshold of the long-vector roads.
constexpr int64_t kBlock = 2048;
constexpr int64_t kLongRoad = 34;
// Elements per stretch of the 8-lane kernel with positions held as floats:
// relative positions stay far below 2^24, where floats stop being exact.
constexpr int64_t kFloatPositionStretch = int64_t{1} << 22;

[[gnu::always_inline]] inline uintptr_t Addr(const void* p) { return reinterpret_cast<uintptr_t>(p); }

// One element read by its bytes: sources need not be aligned to their element
// size, and a plain dereference of such an address is undefined.
template <typename T>
[[gnu::always_inline]] inline T At(const T* s, int64_t i) {
  T v;
  __builtin_memcpy(&v, s + i, sizeof(T));
  return v;
}

[[gnu::always_inline]] inline void EndKernel() {
#ifdef __AVX__
  _mm256_zeroupper();
#endif
}

template <bool IsMax>
struct Ops;

template <>
struct Ops<true> {
  static bool More(float a, float b) { return a > b; }
  static bool More(double a, double b) { return a > b; }
  static __m128 Ps(__m128 a, __m128 b) { return _mm_max_ps(a, b); }
  static __m128 Ss(__m128 a, __m128 b) { return _mm_max_ss(a, b); }
  static __m128d Pd(__m128d a, __m128d b) { return _mm_max_pd(a, b); }
  static __m128d Sd(__m128d a, __m128d b) { return _mm_max_sd(a, b); }
  static __m128 MoreMask(__m128 a, __m128 b) { return _mm_cmpgt_ps(a, b); }
#ifdef __AVX__
  static __m256 P8(__m256 a, __m256 b) { return _mm256_max_ps(a, b); }
  static __m256 MoreMask8(__m256 a, __m256 b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
#endif
#ifdef __AVX512F__
  static __mmask16 MoreMask16(__mmask16 k, __m512 a, __m512 b) { return _mm512_mask_cmp_ps_mask(k, a, b, _CMP_GT_OQ); }
#endif
};

template <>
struct Ops<false> {
  static bool More(float a, float b) { return a < b; }
  static bool More(double a, double b) { return a < b; }
  static __m128 Ps(__m128 a, __m128 b) { return _mm_min_ps(a, b); }
  static __m128 Ss(__m128 a, __m128 b) { return _mm_min_ss(a, b); }
  static __m128d Pd(__m128d a, __m128d b) { return _mm_min_pd(a, b); }
  static __m128d Sd(__m128d a, __m128d b) { return _mm_min_sd(a, b); }
  static __m128 MoreMask(__m128 a, __m128 b) { return _mm_cmplt_ps(a, b); }
#ifdef __AVX__
  static __m256 P8(__m256 a, __m256 b) { return _mm256_min_ps(a, b); }
  static __m256 MoreMask8(__m256 a, __m256 b) { return _mm256_cmp_ps(a, b, _CMP_LT_OQ); }
#endif
#ifdef __AVX512F__
  static __mmask16 MoreMask16(__mmask16 k, __m512 a, __m512 b) { return _mm512_mask_cmp_ps_mask(k, a, b, _CMP_LT_OQ); }
#endif
};

// Lanes 2 and 3 into lanes 0 and 1, then lane 1 into lane 0; the lower lane
// stays only when it is more extreme than the upper one.
template <bool M>
[[gnu::always_inline]] inline float Reduce4(__m128 v) {
  const __m128 t = Ops<M>::Ps(v, _mm_movehl_ps(v, v));
  return _mm_cvtss_f32(Ops<M>::Ss(t, _mm_shuffle_ps(t, t, _MM_SHUFFLE(1, 1, 1, 1))));
}

// ---------------------------------------------------------------------------
// Value searches

// Class 0, floats: one accumulator, head to 16 bytes, groups of 8.
template <bool M>
float ValueFloat32Class0(const float* s, int64_t n) {
  float r = At(s, 0);
  const uintptr_t a = Addr(s);
  const int64_t h = (a % 16) != 0 ? int64_t(16 - a % 16) / 4 : 0;
  int64_t i = 0;
  if (n < 8 || a % 4 != 0 || n < h + 8) {
    for (; i < n; ++i) r = Ops<M>::More(At(s, i), r) ? At(s, i) : r;
    return r;
  }
  for (; i < h; ++i) r = Ops<M>::More(At(s, i), r) ? At(s, i) : r;
  __m128 acc = _mm_set1_ps(r);
  const int64_t end = h + 8 * ((n - h) / 8);
  for (; i < end; i += 8) {
    acc = Ops<M>::Ps(_mm_load_ps(s + i), acc);
    acc = Ops<M>::Ps(_mm_load_ps(s + i + 4), acc);
  }
  r = Reduce4<M>(acc);
  for (; i < n; ++i) r = Ops<M>::More(At(s, i), r) ? At(s, i) : r;
  return r;
}

// Class 0, doubles: the float road with 2 lanes.
template <bool M>
double ValueFloat64Class0(const double* s, int64_t n) {
  double r = At(s, 0);
  const uintptr_t a = Addr(s);
  const int64_t h = (a % 16) == 8 ? 1 : 0;
  int64_t i = 0;
  if (n < 8 || a % 8 != 0 || n < h + 8) {
    for (; i < n; ++i) r = Ops<M>::More(At(s, i), r) ? At(s, i) : r;
    return r;
  }
  for (; i < h; ++i) r = Ops<M>::More(At(s, i), r) ? At(s, i) : r;
  __m128d acc = _mm_set1_pd(r);
  const int64_t end = h + 8 * ((n - h) / 8);
  for (; i < end; i += 8) {
    acc = Ops<M>::Pd(_mm_load_pd(s + i), acc);
    acc = Ops<M>::Pd(_mm_load_pd(s + i + 2), acc);
    acc = Ops<M>::Pd(_mm_load_pd(s + i + 4), acc);
    acc = Ops<M>::Pd(_mm_load_pd(s + i + 6), acc);
  }
  r = _mm_cvtsd_f64(Ops<M>::Sd(acc, _mm_unpackhi_pd(acc, acc)));
  for (; i < n; ++i) r = Ops<M>::More(At(s, i), r) ? At(s, i) : r;
  return r;
}

// Classes 1 to 4, floats: four 4-lane accumulators on 16-byte-aligned loads.
template <bool M>
float MaxFloat32Kernel(const float* s, int64_t n) {
  __m128 acc = _mm_set1_ps(At(s, 0));
  int64_t i = 0;
  if (Addr(s) % 4 != 0) {
    for (; n - i >= 4; i += 4) acc = Ops<M>::Ps(acc, _mm_loadu_ps(s + i));
    acc = _mm_set_ss(Reduce4<M>(acc));
  } else {
    while (i < n && Addr(s + i) % 16 != 0) {
      acc = Ops<M>::Ss(acc, _mm_set_ss(At(s, i)));
      ++i;
    }
    bool reduce = i < n;
    if (reduce && Addr(s + i) % 32 == 16) {
      if (n - i >= 4) {
        acc = Ops<M>::Ps(acc, _mm_load_ps(s + i));
        i += 4;
      } else {
        reduce = false;  // straight to the tail, into lane 0
      }
    }
    if (reduce) {
      if (n - i >= 16) {
        __m128 a0 = acc, a1 = acc, a2 = acc, a3 = acc;
        for (; n - i >= 16; i += 16) {
          a0 = Ops<M>::Ps(a0, _mm_load_ps(s + i));
          a1 = Ops<M>::Ps(a1, _mm_load_ps(s + i + 4));
          a2 = Ops<M>::Ps(a2, _mm_load_ps(s + i + 8));
          a3 = Ops<M>::Ps(a3, _mm_load_ps(s + i + 12));
        }
        acc = Ops<M>::Ps(Ops<M>::Ps(a0, a2), Ops<M>::Ps(a1, a3));
      }
      for (; n - i >= 4; i += 4) acc = Ops<M>::Ps(acc, _mm_load_ps(s + i));
      acc = _mm_set_ss(Reduce4<M>(acc));
    }
  }
  for (; i < n; ++i) acc = Ops<M>::Ss(acc, _mm_set_ss(At(s, i)));
  const float r = _mm_cvtss_f32(acc);
  EndKernel();
  return r;
}

// Classes 1 to 7, doubles: four 2-lane accumulators.
template <bool M>
double MaxFloat64Kernel(const double* s, int64_t n) {
  __m128d acc = _mm_set1_pd(At(s, 0));
  int64_t i = (Addr(s) & 8) != 0 ? 1 : 0;
  if (i < n) {
    const bool aligned = Addr(s + i) % 16 == 0;
    auto load = [&](int64_t j) { return aligned ? _mm_load_pd(s + j) : _mm_loadu_pd(s + j); };
    if (n - i >= 8) {
      __m128d a0 = acc, a1 = acc, a2 = acc, a3 = acc;
      for (; n - i >= 8; i += 8) {
        a0 = Ops<M>::Pd(a0, load(i));
        a1 = Ops<M>::Pd(a1, load(i + 2));
        a2 = Ops<M>::Pd(a2, load(i + 4));
        a3 = Ops<M>::Pd(a3, load(i + 6));
      }
      acc = Ops<M>::Pd(Ops<M>::Pd(a0, a1), Ops<M>::Pd(a2, a3));
    }
    if (n - i >= 4) {
      acc = Ops<M>::Pd(acc, load(i));
      acc = Ops<M>::Pd(acc, load(i + 2));
      i += 4;
    }
    if (n - i >= 2) {
      acc = Ops<M>::Pd(acc, load(i));
      i += 2;
    }
    if (n - i == 1) acc = Ops<M>::Sd(acc, _mm_set_sd(At(s, i)));
  }
  const double r = _mm_cvtsd_f64(Ops<M>::Sd(acc, _mm_unpackhi_pd(acc, acc)));
  EndKernel();
  return r;
}

#ifdef __AVX__
// Mask k (1 to 8) of the masked steps selects lanes 0 to k-1.
alignas(32) const int32_t kLaneMaskTable[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0};

[[gnu::always_inline]] inline __m256i LaneMask(int64_t k) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kLaneMaskTable + 8 - k));
}

// The high half into the low half, then as Reduce4.
template <bool M>
[[gnu::always_inline]] inline float Reduce8(__m256 v) {
  return Reduce4<M>(Ops<M>::Ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1)));
}
#endif

#ifdef __AVX2__
// Classes 5 to 7, floats: two 8-lane accumulators, masked head and tail.
template <bool M>
float MaxFloat32MaskedKernel(const float* s, int64_t n) {
  __m256 a0 = _mm256_set1_ps(At(s, 0));
  __m256 a1 = a0;
  int64_t i = 0;
  const uintptr_t a = Addr(s);
  if (a % 4 == 0 && a % 32 != 0) {
    const int64_t h = 8 - int64_t(a % 32) / 4;
    if (h <= n) {
      const __m256i mask = LaneMask(h);
      const __m256 x = _mm256_maskload_ps(s, mask);
      a0 = _mm256_blendv_ps(a0, Ops<M>::P8(a0, x), _mm256_castsi256_ps(mask));
      i = h;
    }
  }
  for (; n - i >= 16; i += 16) {
    a0 = Ops<M>::P8(a0, _mm256_loadu_ps(s + i));
    a1 = Ops<M>::P8(a1, _mm256_loadu_ps(s + i + 8));
  }
  __m256 acc = Ops<M>::P8(a0, a1);
  if (n - i >= 8) {
    acc = Ops<M>::P8(acc, _mm256_loadu_ps(s + i));
    i += 8;
  }
  if (n - i > 0) {
    const __m256i mask = LaneMask(n - i);
    const __m256 x = _mm256_maskload_ps(s + i, mask);
    acc = _mm256_blendv_ps(acc, Ops<M>::P8(acc, x), _mm256_castsi256_ps(mask));
  }
  const float r = Reduce8<M>(acc);
  EndKernel();
  return r;
}
#endif

template <bool M>
int32_t ValueFloat32(const float* src, int32_t n, float* result) {
  if (src == nullptr || result == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if constexpr (kClass == 0) {
    *result = ValueFloat32Class0<M>(src, n);
  } else if constexpr (kClass <= 4) {
    *result = MaxFloat32Kernel<M>(src, n);
  } else {
#ifdef __AVX2__
    *result = MaxFloat32MaskedKernel<M>(src, n);
#endif
  }
  return StatusOk;
}

template <bool M>
int32_t ValueFloat64(const double* src, int32_t n, double* result) {
  if (src == nullptr || result == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if constexpr (kClass == 0) {
    *result = ValueFloat64Class0<M>(src, n);
  } else {
    *result = MaxFloat64Kernel<M>(src, n);
  }
  return StatusOk;
}

// ---------------------------------------------------------------------------
// Searches with index

// The running extreme r and the position i of its first occurrence.
struct Running {
  float r;
  int64_t i;
};

// The scalar rule over elements [from, to).
template <bool M>
[[gnu::always_inline]] inline void ScalarRule(const float* s, int64_t from, int64_t to, Running& run) {
  for (int64_t j = from; j < to; ++j) {
    if (Ops<M>::More(At(s, j), run.r)) {
      run.r = At(s, j);
      run.i = j;
    }
  }
}

// Position resolution of a lane search over K lanes: m is the lanes' extreme
// (halving reduction, the lower lane staying only when more extreme); when some
// lane moved, i becomes the smallest position among the lanes that hold m.
template <bool M, int K>
void ResolveLanes(float* v, const int32_t* pos, Running& run) {
  bool moved = false;
  for (int k = 0; k < K; ++k) moved = moved || pos[k] != kNoPosition;
  float red[K];
  for (int k = 0; k < K; ++k) red[k] = v[k];
  for (int half = K / 2; half >= 1; half /= 2) {
    for (int k = 0; k < half; ++k) red[k] = Ops<M>::More(red[k], red[k + half]) ? red[k] : red[k + half];
  }
  const float m = red[0];
  if (moved) {
    int64_t best = kNoPosition;
    for (int k = 0; k < K; ++k) {
      if (v[k] == m && pos[k] < best) best = pos[k];
    }
    run.i = best;
  }
  run.r = m;
}

// 4-lane search with integer positions over [start, start + count), count a
// multiple of 8 and s + start 16-byte aligned.
template <bool M>
void LaneSearch4(const float* s, int64_t start, int64_t count, Running& run) {
  __m128 v = _mm_set1_ps(run.r);
  __m128i pos = _mm_set1_epi32(int32_t(kNoPosition));
  __m128i p = _mm_add_epi32(_mm_set1_epi32(int32_t(start)), _mm_setr_epi32(0, 1, 2, 3));
  const __m128i four = _mm_set1_epi32(4);
  for (int64_t j = start; j < start + count; j += 4) {
    const __m128 x = _mm_load_ps(s + j);
    const __m128 more = Ops<M>::MoreMask(x, v);
    v = _mm_or_ps(_mm_and_ps(more, x), _mm_andnot_ps(more, v));
    const __m128i mi = _mm_castps_si128(more);
    pos = _mm_or_si128(_mm_and_si128(mi, p), _mm_andnot_si128(mi, pos));
    p = _mm_add_epi32(p, four);
  }
  alignas(16) float vl[4];
  alignas(16) int32_t pl[4];
  _mm_store_ps(vl, v);
  _mm_store_si128(reinterpret_cast<__m128i*>(pl), pos);
  ResolveLanes<M, 4>(vl, pl, run);
}

// Class 0 for every count; classes 1 to 4 below the long road, from element 1.
template <bool M>
void FourLaneRoad(const float* s, int64_t first, int64_t n, Running& run) {
  const float* b = s + first;
  const int64_t m = n - first;
  const uintptr_t a = Addr(b);
  const int64_t h = (a % 16) != 0 ? int64_t(16 - a % 16) / 4 : 0;
  if (m < 8 || a % 4 != 0 || m < h + 8) {
    ScalarRule<M>(s, first, n, run);
    return;
  }
  ScalarRule<M>(s, first, first + h, run);
  const int64_t count = 8 * ((m - h) / 8);
  LaneSearch4<M>(s, first + h, count, run);
  ScalarRule<M>(s, first + h + count, n, run);
}

#ifdef __AVX2__
// 8-lane search with integer positions over [start, start + count), count a
// multiple of 8, unaligned loads.
template <bool M>
void LaneSearch8(const float* s, int64_t start, int64_t count, Running& run) {
  __m256 v = _mm256_set1_ps(run.r);
  __m256i pos = _mm256_set1_epi32(int32_t(kNoPosition));
  __m256i p = _mm256_add_epi32(_mm256_set1_epi32(int32_t(start)), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  const __m256i eight = _mm256_set1_epi32(8);
  for (int64_t j = start; j < start + count; j += 8) {
    const __m256 x = _mm256_loadu_ps(s + j);
    const __m256 more = Ops<M>::MoreMask8(x, v);
    v = _mm256_blendv_ps(v, x, more);
    pos = _mm256_castps_si256(_mm256_blendv_ps(_mm256_castsi256_ps(pos), _mm256_castsi256_ps(p), more));
    p = _mm256_add_epi32(p, eight);
  }
  alignas(32) float vl[8];
  alignas(32) int32_t pl[8];
  _mm256_store_ps(vl, v);
  _mm256_store_si256(reinterpret_cast<__m256i*>(pl), pos);
  ResolveLanes<M, 8>(vl, pl, run);
}

// Class 5 below the long road: groups of 16 from element 1, then one search
// over a last group of 8, then single elements.
template <bool M>
void EightLaneRoad(const float* s, int64_t n, Running& run) {
  const int64_t m = n - 1;
  int64_t i = 1;
  if (m >= 16) {
    const int64_t count = 16 * (m / 16);
    LaneSearch8<M>(s, 1, count, run);
    i += count;
  }
  if (n - i >= 8) {
    const int64_t count = 8 * ((n - i) / 8);
    LaneSearch8<M>(s, i, count, run);
    i += count;
  }
  ScalarRule<M>(s, i, n, run);
}
#endif

#ifdef __AVX512F__
// Classes 6 and 7 below the long road: a 16-lane search from element 1 in
// masked steps; lanes beyond the end are neither loaded nor compared.
template <bool M>
void SixteenLaneRoad(const float* s, int64_t n, Running& run) {
  __m512 v = _mm512_set1_ps(run.r);
  __m512i pos = _mm512_set1_epi32(int32_t(kNoPosition));
  __m512i p = _mm512_add_epi32(_mm512_set1_epi32(1),
                               _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15));
  const __m512i sixteen = _mm512_set1_epi32(16);
  for (int64_t j = 1; j < n; j += 16) {
    const int64_t left = n - j;
    const __mmask16 active = left >= 16 ? __mmask16(0xFFFF) : __mmask16((1u << left) - 1);
    const __m512 x = _mm512_maskz_loadu_ps(active, s + j);
    const __mmask16 more = Ops<M>::MoreMask16(active, x, v);
    v = _mm512_mask_mov_ps(v, more, x);
    pos = _mm512_mask_mov_epi32(pos, more, p);
    p = _mm512_add_epi32(p, sixteen);
  }
  alignas(64) float vl[16];
  alignas(64) int32_t pl[16];
  _mm512_store_ps(vl, v);
  _mm512_store_si512(pl, pos);
  ResolveLanes<M, 16>(vl, pl, run);
}
#endif

// Block method (classes 1 to 3, long vectors): a block's extreme first, its
// first occurrence only when it beats the running extreme.
template <bool M>
float BlockMaxKernel(const float* b, int64_t count) {
  __m128 x = _mm_load_ps(b);
  __m128 y = _mm_load_ps(b + 4);
  for (int64_t j = 8; j < count; j += 8) {
    x = Ops<M>::Ps(x, _mm_load_ps(b + j));
    y = Ops<M>::Ps(y, _mm_load_ps(b + j + 4));
  }
  return Reduce4<M>(Ops<M>::Ps(x, y));
}

// Position of the first element of the block whose bit pattern equals m's; m
// was taken from the block, so the search ends inside it.
int64_t FindFirstEqualKernel(const float* b, float m) {
  const __m128i pattern = _mm_castps_si128(_mm_set1_ps(m));
  for (int64_t j = 0;; j += 8) {
    const int lo = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(b + j)), pattern)));
    const int hi = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(b + j + 4)), pattern)));
    const int both = lo | (hi << 4);
    if (both != 0) {
      int k = 0;
      while (((both >> k) & 1) == 0) ++k;
      return j + k;
    }
  }
}

template <bool M>
void BlockMethod(const float* s, int64_t n, Running& run) {
  int64_t i = 0;
  while (i < n && Addr(s + i) % 16 != 0) ++i;
  ScalarRule<M>(s, 0, i, run);
  const int64_t rest = n - i;
  int64_t blocks = rest - rest % 8;
  auto block = [&](int64_t count) {
    const float m = BlockMaxKernel<M>(s + i, count);
    if (Ops<M>::More(m, run.r)) {
      run.r = m;
      run.i = i + FindFirstEqualKernel(s + i, m);
    }
    i += count;
  };
  while (blocks > kBlock) {
    block(kBlock);
    blocks -= kBlock;
  }
  block(blocks);
  ScalarRule<M>(s, i, n, run);
}

#ifdef __AVX__
// Classes 4 to 7, long vectors: 8 lanes, positions carried as floats and
// blended with the masks that compare the values. The positions are held
// relative to the start of a stretch of at most kFloatPositionStretch
// elements and folded into exact integer positions after each stretch, so
// they stay exact for every count; the lanes' values run on unchanged across
// stretches.
// Lanes of ifSet where the comparison mask m is all ones, of ifClear where it
// is zero. Class 4 selects with and/andnot/or: GCC 12 with AVX-only flags
// expands vblendvps on a comparison mask into eight per-lane branches.
[[gnu::always_inline]] inline __m256 Select8(__m256 m, __m256 ifClear, __m256 ifSet) {
  if constexpr (kClass == 4) {
    return _mm256_or_ps(_mm256_and_ps(m, ifSet), _mm256_andnot_ps(m, ifClear));
  } else {
    return _mm256_blendv_ps(ifClear, ifSet, m);
  }
}

template <bool M>
void MaxIndexFloat32MaskedKernel(const float* s, int64_t n, Running& run) {
  __m256 v = _mm256_set1_ps(At(s, 0));
  int64_t lanePos[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  const __m256 lanes = _mm256_setr_ps(0, 1, 2, 3, 4, 5, 6, 7);
  const __m256 unmoved = _mm256_set1_ps(-1.0f);
  const __m256 eight = _mm256_set1_ps(8.0f);
  auto fold = [&](__m256 pos, int64_t base) {
    alignas(32) float pl[8];
    _mm256_store_ps(pl, pos);
    for (int k = 0; k < 8; ++k) {
      if (pl[k] >= 0.0f) lanePos[k] = base + int64_t(pl[k]);
    }
  };
  auto step = [&](__m256 x, __m256 p, __m256& pos) {
    const __m256 more = Ops<M>::MoreMask8(x, v);
    v = Ops<M>::P8(v, x);
    pos = Select8(more, pos, p);
  };
  auto maskedStep = [&](const float* from, int64_t k, __m256 p, __m256& pos) {
    const __m256 active = _mm256_castsi256_ps(LaneMask(k));
    const __m256 x = _mm256_maskload_ps(from, LaneMask(k));
    const __m256 more = _mm256_and_ps(Ops<M>::MoreMask8(x, v), active);
    v = Select8(active, v, Ops<M>::P8(v, x));
    pos = Select8(more, pos, p);
  };
  int64_t i = 0;
  const uintptr_t a = Addr(s);
  if (a % 32 != 0) {
    const int64_t h = 8 - int64_t(a % 32) / 4;
    __m256 pos = unmoved;
    maskedStep(s, h, lanes, pos);
    fold(pos, 0);
    i = h;
  }
  while (n - i >= 16) {
    const int64_t base = i;
    int64_t stretch = 16 * ((n - i) / 16);
    if (stretch > kFloatPositionStretch) stretch = kFloatPositionStretch;
    __m256 pos = unmoved;
    __m256 p = lanes;
    for (const int64_t end = i + stretch; i < end; i += 16) {
      step(_mm256_loadu_ps(s + i), p, pos);
      step(_mm256_loadu_ps(s + i + 8), _mm256_add_ps(p, eight), pos);
      p = _mm256_add_ps(p, _mm256_set1_ps(16.0f));
    }
    fold(pos, base);
  }
  {
    const int64_t base = i;
    __m256 pos = unmoved;
    __m256 p = lanes;
    if (n - i >= 8) {
      step(_mm256_loadu_ps(s + i), p, pos);
      p = _mm256_add_ps(p, eight);
      i += 8;
    }
    if (n - i > 0) maskedStep(s + i, n - i, p, pos);
    fold(pos, base);
  }
  alignas(32) float vl[8];
  _mm256_store_ps(vl, v);
  EndKernel();
  // Three pairwise merges: another lane replaces this one when its value is
  // more extreme, or equal with a smaller position.
  for (int half = 4; half >= 1; half /= 2) {
    for (int k = 0; k < half; ++k) {
      const int o = k + half;
      if (Ops<M>::More(vl[o], vl[k]) || (vl[o] == vl[k] && lanePos[o] < lanePos[k])) {
        vl[k] = vl[o];
        lanePos[k] = lanePos[o];
      }
    }
  }
  run.r = vl[0];
  run.i = lanePos[0];
}
#endif

template <bool M>
int32_t IndexFloat32(const float* src, int32_t n, float* value, int32_t* index) {
  if (src == nullptr || value == nullptr) return StatusNullPointer;
  if (n <= 0) return StatusBadCount;
  if (index == nullptr) return ValueFloat32<M>(src, n, value);
  Running run{At(src, 0), 0};
  if constexpr (kClass == 0) {
    FourLaneRoad<M>(src, 0, n, run);
  } else if (n < kLongRoad) {
    if constexpr (kClass <= 4) {
      FourLaneRoad<M>(src, 1, n, run);
    } else if constexpr (kClass == 5) {
#ifdef __AVX2__
      EightLaneRoad<M>(src, n, run);
#endif
    } else {
#ifdef __AVX512F__
      SixteenLaneRoad<M>(src, n, run);
#endif
    }
    EndKernel();
  } else if (Addr(src) % 4 != 0) {
    ScalarRule<M>(src, 1, n, run);
  } else if constexpr (kClass <= 3) {
    BlockMethod<M>(src, n, run);
  } else {
#ifdef __AVX__
    MaxIndexFloat32MaskedKernel<M>(src, n, run);
#endif
  }
  *value = run.r;
  *index = int32_t(run.i);
  return StatusOk;
}

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorMaxFloat32)(const float* src, int32_t n, float* result) {
  return LV_NS::ValueFloat32<true>(src, n, result);
}
int32_t LV_NAME(VectorMinFloat32)(const float* src, int32_t n, float* result) {
  return LV_NS::ValueFloat32<false>(src, n, result);
}
int32_t LV_NAME(VectorMaxFloat64)(const double* src, int32_t n, double* result) {
  return LV_NS::ValueFloat64<true>(src, n, result);
}
int32_t LV_NAME(VectorMinFloat64)(const double* src, int32_t n, double* result) {
  return LV_NS::ValueFloat64<false>(src, n, result);
}
int32_t LV_NAME(VectorMaxIndexFloat32)(const float* src, int32_t n, float* value, int32_t* index) {
  return LV_NS::IndexFloat32<true>(src, n, value, index);
}
int32_t LV_NAME(VectorMinIndexFloat32)(const float* src, int32_t n, float* value, int32_t* index) {
  return LV_NS::IndexFloat32<false>(src, n, value, index);
}
