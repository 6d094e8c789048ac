// The magnitude, power and absolute value, written once and built once per
// processor class (magnitude_sse2.cpp ... magnitude_avx512.cpp).
//
// Notation: P = fl(fl(re*re) + fl(im*im)) is the plain sum of squares,
// F = fl(re*re + fl(im*im)) the fused one. The magnitude's three roots:
//   exact:   the square-root instruction (correctly rounded);
//   fast:    classes 1-4, the reciprocal-square-root estimate a and one Newton
//            step w*v with t = s*a, u = a*t, v = t*(-0.5), w = u - 3;
//   refined: classes 5-7, y = estimate, e = s*y, r = 1 - e*y (fused),
//            c = 0.375*r + 0.5 (fused), t = y*r, y' = t*c + y (fused), s*y'.
// The estimate cannot handle zero, subnormal, infinite or NaN sums: a group
// holding one takes the exact root for all its elements.
//
// The kernels are members of Mag<C>, a template over the class number
// instantiated once, for kClass: its members for wider classes (their vector
// types and instructions) are then never compiled in narrower ones.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/arith/arith_loops.inl"
#include "primitives/magnitude/magnitude_classes.h"
#include "primitives/simd_ops.inl"
#include "primitives/sqrt/sqrt_classes.h"
#include "primitives/vector_types.h"

namespace LV_NS {
namespace {

// The exact root of one float sum, for the class-0 magnitude and the scalar
// roads of classes 5-7: the class's own scalar square root (the other classes
// have none and never take such a road).
inline float ExactScalarRoot(float s) {
#if LV_SQRT_HAS_FLOAT32(LV_CLASS)
  return LV_NAME(ScalarSqrtFloat32)(s);
#else
  return __builtin_sqrtf(s);
#endif
}

template <int C>
struct Mag {
  static constexpr float kTiny = 0x1p-126f;             // smallest normal float
  static constexpr uint32_t kRefinedLowBits = 0x00D9C7DDu;  // 2.0e-38

  static bool Multiple(const void* p, uintptr_t b) { return reinterpret_cast<uintptr_t>(p) % b == 0; }
  static uintptr_t Addr(const void* p) { return reinterpret_cast<uintptr_t>(p); }

  // ---- scalar pieces -------------------------------------------------------

  static void Load2(const float* e, float& re, float& im) {
    float v[2];
    __builtin_memcpy(v, e, 8);
    re = v[0];
    im = v[1];
  }
  static void Put(float* d, float x) { __builtin_memcpy(d, &x, 4); }
  static float PlainSum(const float* e) {
    float re, im;
    Load2(e, re, im);
    return re * re + im * im;
  }
  static float FusedSum(const float* e) {
    float re, im;
    Load2(e, re, im);
    return __builtin_fmaf(re, re, im * im);
  }
  static float ExactRoot(float s) { return _mm_cvtss_f32(_mm_sqrt_ss(_mm_set_ss(s))); }
  static float FastRoot(float s) {
    const __m128 sv = _mm_set_ss(s);
    const __m128 a = _mm_rsqrt_ss(sv);
    const __m128 t = _mm_mul_ss(sv, a);
    const __m128 u = _mm_mul_ss(a, t);
    const __m128 v = _mm_mul_ss(t, _mm_set_ss(-0.5f));
    const __m128 w = _mm_sub_ss(u, _mm_set_ss(3.0f));
    return _mm_cvtss_f32(_mm_mul_ss(w, v));
  }

  // ---- vector pieces -------------------------------------------------------

  // Sums of squares of 4 complex elements (plain), in element order.
  static __m128 Plain4(const float* e) {
    const __m128 x0 = _mm_loadu_ps(e), x1 = _mm_loadu_ps(e + 4);
    const __m128 q0 = _mm_mul_ps(x0, x0), q1 = _mm_mul_ps(x1, x1);
    return _mm_add_ps(_mm_shuffle_ps(q0, q1, _MM_SHUFFLE(2, 0, 2, 0)), _mm_shuffle_ps(q0, q1, _MM_SHUFFLE(3, 1, 3, 1)));
  }
  // The fast root of 4 sums.
  static __m128 FastRoot4(__m128 s) {
    const __m128 a = _mm_rsqrt_ps(s);
    const __m128 t = _mm_mul_ps(s, a);
    const __m128 u = _mm_mul_ps(a, t);
    const __m128 v = _mm_mul_ps(t, _mm_set1_ps(-0.5f));
    const __m128 w = _mm_sub_ps(u, _mm_set1_ps(3.0f));
    return _mm_mul_ps(w, v);
  }
  // True when every lane is > 2^-126 and finite.
  static bool FastRange4(__m128 s) {
    const __m128 ok = _mm_and_ps(_mm_cmpgt_ps(s, _mm_set1_ps(kTiny)), _mm_cmplt_ps(s, _mm_set1_ps(__builtin_inff())));
    return _mm_movemask_ps(ok) == 0xF;
  }

  // Classes 4-7: 8 elements loaded as four 16-byte halves paired so that a
  // horizontal add yields the sums in element order: [e0 e1 | e4 e5], [e2 e3 | e6 e7].
  static void Pair8(const float* e, __m256& a, __m256& b) {
    a = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(e)), _mm_loadu_ps(e + 8), 1);
    b = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(e + 4)), _mm_loadu_ps(e + 12), 1);
  }
  static __m256 Plain8(const float* e) {
    __m256 a, b;
    Pair8(e, a, b);
    return _mm256_hadd_ps(_mm256_mul_ps(a, a), _mm256_mul_ps(b, b));
  }
#if defined(__FMA__)
  static __m128 Fused4(const float* e) {
    const __m128 x0 = _mm_loadu_ps(e), x1 = _mm_loadu_ps(e + 4);
    const __m128 re = _mm_shuffle_ps(x0, x1, _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 im = _mm_shuffle_ps(x0, x1, _MM_SHUFFLE(3, 1, 3, 1));
    return _mm_fmadd_ps(re, re, _mm_mul_ps(im, im));
  }
  static __m256 Fused8(const float* e) {
    __m256 a, b;
    Pair8(e, a, b);
    const __m256 re = _mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0));
    const __m256 im = _mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1));
    return _mm256_fmadd_ps(re, re, _mm256_mul_ps(im, im));
  }
  // The refined root of 8 sums; t receives the correction term.
  static __m256 Refined8(__m256 s, __m256& t) {
    const __m256 y = _mm256_rsqrt_ps(s);
    const __m256 e = _mm256_mul_ps(s, y);
    const __m256 r = _mm256_fnmadd_ps(e, y, _mm256_set1_ps(1.0f));
    const __m256 c = _mm256_fmadd_ps(_mm256_set1_ps(0.375f), r, _mm256_set1_ps(0.5f));
    t = _mm256_mul_ps(y, r);
    const __m256 y2 = _mm256_fmadd_ps(t, c, y);
    return _mm256_mul_ps(s, y2);
  }
#endif
#if defined(__AVX512F__)
  // Sums F of m <= 16 complex elements, reading exactly those elements.
  static __m512 Fused16(const float* e, int m) {
    const int lo = m < 8 ? m : 8, hi = m - lo;
    const __m512 x0 = Z16f::ML(e, 2 * lo);
    const __m512 x1 = hi > 0 ? Z16f::ML(e + 16, 2 * hi) : _mm512_setzero_ps();
    const __m512i even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const __m512i odd = _mm512_setr_epi32(1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31);
    const __m512 re = _mm512_permutex2var_ps(x0, even, x1);
    const __m512 im = _mm512_permutex2var_ps(x0, odd, x1);
    return _mm512_fmadd_ps(re, re, _mm512_mul_ps(im, im));
  }
#endif

  // ---- absolute value --------------------------------------------------------

  struct AbsE {
    using S = float;
    static constexpr int kF = 1;
    template <class V>
    static typename V::V Vec(typename V::V a, typename V::V) {
      return V::Abs(a);
    }
    static void Single(float* d, const float* a, const float*) {
      uint32_t b;
      __builtin_memcpy(&b, a, 4);
      b &= 0x7FFFFFFFu;
      __builtin_memcpy(d, &b, 4);
    }
  };

  static void AbsRoad(const float* s, float* d, ptrdiff_t n) {
    using E = AbsE;
    const BConst<float, 1> none{{0.0f, 0.0f}};
    const uintptr_t a = Addr(d);
    if constexpr (C == 0) {
      const ptrdiff_t h = a % 16 ? static_cast<ptrdiff_t>((16 - a % 16) / 4) : 0;
      if (n < 8 || a % 4 != 0 || n < h + 8) {
        Singles<E>(d, s, none, 0, n);
        return;
      }
      const ptrdiff_t g = (n - h) / 8 * 8;
      const ptrdiff_t g4 = (n - h - g) / 4 * 4;
      Singles<E>(d, s, none, 0, h);
      Groups<E, X4f, 2, kStoreAligned>(d, s, none, h, g);
      Groups<E, X4f, 1, kStoreAligned>(d, s, none, h + g, g4);
      Singles<E>(d, s, none, h + g + g4, n);
    } else if constexpr (C <= 4) {
      ptrdiff_t i = 0;
      while (i < n && (Addr(d + i) & 12) != 0) {
        E::Single(d + i, s + i, nullptr);
        ++i;
      }
      const ptrdiff_t g = (n - i) / 16 * 16;
      if (Multiple(d + i, 16) && Multiple(s + i, 16)) {
        Groups<E, X4f, 4, kStoreAligned | kLoadAligned>(d, s, none, i, g);
      } else if (Multiple(d + i, 16)) {
        Groups<E, X4f, 4, kStoreAligned>(d, s, none, i, g);
      } else {
        Groups<E, X4f, 4, 0>(d, s, none, i, g);
      }
      i += g;
      const ptrdiff_t r = n - i;
      if (r & 8) {
        Groups<E, X4f, 2, 0>(d, s, none, i, 8);
        i += 8;
      }
      if (r & 4) {
        Groups<E, X4f, 1, 0>(d, s, none, i, 4);
        i += 4;
      }
      if (r & 2) {
        X4f::Store2(d + i, X4f::Abs(X4f::Load2(s + i)));
        i += 2;
      }
      if (r & 1) {
        E::Single(d + i, s + i, nullptr);
      }
    } else if constexpr (C == 5) {
      const ptrdiff_t h = a % 32 ? static_cast<ptrdiff_t>((32 - a % 32) / 4) : 0;
      if (n >= 16 && n <= 28) {
        const ptrdiff_t g = n / 16 * 16;
        const ptrdiff_t g4 = (n - g) / 4 * 4;
        Groups<E, Y8f, 2, 0>(d, s, none, 0, g);
        Groups<E, X4f, 1, 0>(d, s, none, g, g4);
        Singles<E>(d, s, none, g + g4, n);
      } else if (n >= 29 && a % 4 == 0 && n >= h + 16) {
        const ptrdiff_t g = (n - h) / 16 * 16;
        const ptrdiff_t g4 = (n - h - g) / 4 * 4;
        Singles<E>(d, s, none, 0, h);
        Groups<E, Y8f, 2, kStoreAligned>(d, s, none, h, g);
        Groups<E, X4f, 1, kStoreAligned>(d, s, none, h + g, g4);
        Singles<E>(d, s, none, h + g + g4, n);
      } else {
        const ptrdiff_t g4 = n / 4 * 4;
        Groups<E, X4f, 1, 0>(d, s, none, 0, g4);
        Singles<E>(d, s, none, g4, n);
      }
    } else {
      if (n <= 336) {
        const ptrdiff_t g = n / 32 * 32;
        Groups<E, Z16f, 2, 0>(d, s, none, 0, g);
        Masked<E, Z16f>(d, s, none, g, n - g);
      } else if (a % 4 != 0) {
        Masked<E, Z16f>(d, s, none, 0, n);
      } else {
        ptrdiff_t h = a % 64 ? static_cast<ptrdiff_t>((64 - a % 64) / 4) : 0;
        h = h < n ? h : n;
        Masked<E, Z16f>(d, s, none, 0, h);
        const ptrdiff_t g = (n - h) / 32 * 32;
        Groups<E, Z16f, 2, kStoreAligned>(d, s, none, h, g);
        Masked<E, Z16f>(d, s, none, h + g, n - h - g);
      }
    }
  }

  // ---- power -------------------------------------------------------------------

  static void PowerSinglesPlain(const float* s, float* d, ptrdiff_t i, ptrdiff_t end) {
    for (; i < end; ++i) Put(d + i, PlainSum(s + 2 * i));
  }
  static void PowerSinglesFused(const float* s, float* d, ptrdiff_t i, ptrdiff_t end) {
    for (; i < end; ++i) Put(d + i, FusedSum(s + 2 * i));
  }
  // Groups of 4 in 128-bit vectors, plain.
  static void Power4Plain(const float* s, float* d, ptrdiff_t i, ptrdiff_t count, bool alignedStore) {
    for (ptrdiff_t k = i; k < i + count; k += 4) {
      const __m128 p = Plain4(s + 2 * k);
      if (alignedStore) {
        _mm_store_ps(d + k, p);
      } else {
        _mm_storeu_ps(d + k, p);
      }
    }
  }

  // Classes 4-7: the wide kernel.
  static void PowerWide(const float* s, float* d, ptrdiff_t n) {
    const uintptr_t a = Addr(d);
    const ptrdiff_t q = static_cast<ptrdiff_t>((a % 32) / 4);
    ptrdiff_t i = 0;
    if (q != 0) {
      const ptrdiff_t h = n < 8 - q ? n : 8 - q;
      PowerGeneral(s, d, h);
      i = h;
    }
    if (!Multiple(d + i, 32)) {
      PowerGeneral(s + 2 * i, d + i, n - i);
      return;
    }
    const ptrdiff_t g = (n - i) / 16 * 16;
    for (ptrdiff_t k = i; k < i + g; k += 16) {
      const __m256 p0 = Plain8(s + 2 * k), p1 = Plain8(s + 2 * k + 16);
      _mm256_store_ps(d + k, p0);
      _mm256_store_ps(d + k + 8, p1);
    }
    i += g;
    const ptrdiff_t r = n - i;
    if (r & 8) {
      _mm256_store_ps(d + i, Plain8(s + 2 * i));
      i += 8;
    }
    if (r & 4) {
      const __m128 x0 = _mm_loadu_ps(s + 2 * i), x1 = _mm_loadu_ps(s + 2 * i + 4);
      _mm_store_ps(d + i, _mm_hadd_ps(_mm_mul_ps(x0, x0), _mm_mul_ps(x1, x1)));
      i += 4;
    }
    if (r & 2) {
      const __m128 x = _mm_loadu_ps(s + 2 * i);
      const __m128 q2 = _mm_mul_ps(x, x);
      X4f::Store2(d + i, _mm_hadd_ps(q2, q2));
      i += 2;
    }
    if (r & 1) {
      const __m128 x = X4f::Load2(s + 2 * i);
      const __m128 q1 = _mm_mul_ps(x, x);
      X4f::Store1(d + i, _mm_hadd_ps(q1, q1));
    }
  }

  // The general road of the wide kernel (heads, misaligned destinations).
  static void PowerGeneral(const float* s, float* d, ptrdiff_t n) {
    const uintptr_t a = Addr(d);
    if constexpr (C == 4) {
      const ptrdiff_t h = a % 32 ? static_cast<ptrdiff_t>((32 - a % 32) / 4) : 0;
      if (n < 16 || a % 4 != 0 || n < h + 16) {
        PowerSinglesPlain(s, d, 0, n);
        return;
      }
      PowerSinglesPlain(s, d, 0, h);
      const ptrdiff_t g = (n - h) / 16 * 16;
      for (ptrdiff_t k = h; k < h + g; k += 16) {
        _mm256_store_ps(d + k, Plain8(s + 2 * k));
        _mm256_store_ps(d + k + 8, Plain8(s + 2 * k + 16));
      }
      const ptrdiff_t g4 = (n - h - g) / 4 * 4;
      Power4Plain(s, d, h + g, g4, true);
      PowerSinglesPlain(s, d, h + g + g4, n);
    } else if constexpr (C == 5) {
#if defined(__FMA__)
      const ptrdiff_t h = a % 32 ? static_cast<ptrdiff_t>((32 - a % 32) / 4) : 0;
      ptrdiff_t i = 0;
      auto groups16 = [&](ptrdiff_t from, ptrdiff_t count, bool aligned) {
        for (ptrdiff_t k = from; k < from + count; k += 16) {
          const __m256 p0 = Fused8(s + 2 * k), p1 = Fused8(s + 2 * k + 16);
          if (aligned) {
            _mm256_store_ps(d + k, p0);
            _mm256_store_ps(d + k + 8, p1);
          } else {
            _mm256_storeu_ps(d + k, p0);
            _mm256_storeu_ps(d + k + 8, p1);
          }
        }
      };
      if (n >= 16 && n <= 28) {
        groups16(0, 16, false);
        i = 16;
      } else if (n >= 29 && a % 4 == 0 && n >= h + 16) {
        PowerSinglesFused(s, d, 0, h);
        const ptrdiff_t g = (n - h) / 16 * 16;
        groups16(h, g, true);
        i = h + g;
      }
      const ptrdiff_t g4 = (n - i) / 4 * 4;
      for (ptrdiff_t k = i; k < i + g4; k += 4) _mm_storeu_ps(d + k, Fused4(s + 2 * k));
      PowerSinglesFused(s, d, i + g4, n);
#endif
    } else {
#if defined(__AVX512F__)
      auto masked = [&](ptrdiff_t from, ptrdiff_t count) {
        for (ptrdiff_t k = from; k < from + count; k += 16) {
          const int m = static_cast<int>(from + count - k < 16 ? from + count - k : 16);
          Z16f::MS(d + k, m, Fused16(s + 2 * k, m));
        }
      };
      auto groups32 = [&](ptrdiff_t from, ptrdiff_t count, bool aligned) {
        for (ptrdiff_t k = from; k < from + count; k += 32) {
          const __m512 p0 = Fused16(s + 2 * k, 16), p1 = Fused16(s + 2 * k + 32, 16);
          if (aligned) {
            _mm512_store_ps(d + k, p0);
            _mm512_store_ps(d + k + 16, p1);
          } else {
            _mm512_storeu_ps(d + k, p0);
            _mm512_storeu_ps(d + k + 16, p1);
          }
        }
      };
      if (n < 817) {
        const ptrdiff_t g = n / 32 * 32;
        groups32(0, g, false);
        masked(g, n - g);
      } else if (a % 4 != 0) {
        masked(0, n);
      } else {
        ptrdiff_t h = a % 64 ? static_cast<ptrdiff_t>((64 - a % 64) / 4) : 0;
        h = h < n ? h : n;
        masked(0, h);
        const ptrdiff_t g = (n - h) / 32 * 32;
        groups32(h, g, true);
        masked(h + g, n - h - g);
      }
#endif
    }
  }

  static void PowerRoad(const float* s, float* d, ptrdiff_t n) {
    const uintptr_t a = Addr(d);
    if constexpr (C == 0) {
      const ptrdiff_t h = a % 16 ? static_cast<ptrdiff_t>((16 - a % 16) / 4) : 0;
      if (n < 8 || a % 4 != 0 || n < h + 8) {
        PowerSinglesPlain(s, d, 0, n);
        return;
      }
      PowerSinglesPlain(s, d, 0, h);
      const ptrdiff_t g = (n - h) / 8 * 8;
      Power4Plain(s, d, h, g, true);  // groups of 8 as two 4-lane halves
      const ptrdiff_t g4 = (n - h - g) / 4 * 4;
      Power4Plain(s, d, h + g, g4, true);
      PowerSinglesPlain(s, d, h + g + g4, n);
    } else if constexpr (C <= 3) {
      if (n < 8) {
        PowerSinglesPlain(s, d, 0, n);
        return;
      }
      const ptrdiff_t g = n / 8 * 8;
      const bool aligned = Multiple(s, 16) && Multiple(d, 16);
      for (ptrdiff_t k = 0; k < g; k += 8) {
        const float* e = s + 2 * k;
        __m128 x[4];
    #pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) x[j] = aligned ? _mm_load_ps(e + 4 * j) : _mm_loadu_ps(e + 4 * j);
    #pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) x[j] = _mm_mul_ps(x[j], x[j]);
        const __m128 p0 = _mm_hadd_ps(x[0], x[1]), p1 = _mm_hadd_ps(x[2], x[3]);
        if (aligned) {
          _mm_store_ps(d + k, p0);
          _mm_store_ps(d + k + 4, p1);
        } else {
          _mm_storeu_ps(d + k, p0);
          _mm_storeu_ps(d + k + 4, p1);
        }
      }
      PowerSinglesPlain(s, d, g, n);
    } else {
      PowerWide(s, d, n);
    }
  }

  // ---- magnitude -------------------------------------------------------------------

  // Classes 1-4: 8 sums from 8 elements (four 16-byte loads), fast or exact roots.
  static void MagGroup8(const float* e, float* d, bool alignedLoads, bool alignedStores) {
    __m128 x[4];
#pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) x[j] = alignedLoads ? _mm_load_ps(e + 4 * j) : _mm_loadu_ps(e + 4 * j);
#pragma GCC unroll 4
    for (int j = 0; j < 4; ++j) x[j] = _mm_mul_ps(x[j], x[j]);
    const __m128 s0 = _mm_add_ps(_mm_shuffle_ps(x[0], x[1], _MM_SHUFFLE(2, 0, 2, 0)),
                                 _mm_shuffle_ps(x[0], x[1], _MM_SHUFFLE(3, 1, 3, 1)));
    const __m128 s1 = _mm_add_ps(_mm_shuffle_ps(x[2], x[3], _MM_SHUFFLE(2, 0, 2, 0)),
                                 _mm_shuffle_ps(x[2], x[3], _MM_SHUFFLE(3, 1, 3, 1)));
    __m128 r0, r1;
    if (FastRange4(s0) && FastRange4(s1)) {
      r0 = FastRoot4(s0);
      r1 = FastRoot4(s1);
    } else {
      r0 = _mm_sqrt_ps(s0);
      r1 = _mm_sqrt_ps(s1);
    }
    if (alignedStores) {
      _mm_store_ps(d, r0);
      _mm_store_ps(d + 4, r1);
    } else {
      _mm_storeu_ps(d, r0);
      _mm_storeu_ps(d + 4, r1);
    }
  }

  static void MagnitudeKernel(const float* s, float* d, ptrdiff_t n) {
    ptrdiff_t i = 0;
    while (i < n && (Addr(d + i) & 12) != 0) {
      const float v = PlainSum(s + 2 * i);
      Put(d + i, (v >= kTiny && v < __builtin_inff()) ? FastRoot(v) : ExactRoot(v));
      ++i;
    }
    if (i == n) return;
    const bool dstAligned = Multiple(d + i, 16);
    const bool srcAligned = dstAligned && Multiple(s + 2 * i, 16);
    for (; n - i >= 8; i += 8) MagGroup8(s + 2 * i, d + i, srcAligned, dstAligned);
    const ptrdiff_t t = n - i;
    if (t > 0) {
      // Exactly the tail's elements are read; the other lanes repeat them.
      float e[16], r[8];
      for (ptrdiff_t k = 0; k < 8; ++k) __builtin_memcpy(e + 2 * k, s + 2 * (i + (k < t ? k : k % t)), 8);
      MagGroup8(e, r, false, false);
      __builtin_memcpy(d + i, r, static_cast<size_t>(t) * 4);
    }
  }

#if defined(__FMA__)
  // Roots of m <= 15 values, in place allowed: the refined root for all 16
  // lanes (unused lanes hold 1.0), or the exact root for all when a lane's
  // correction term is NaN. Returns non-zero when an input is negative.
  static int SqrtTailKernel(const float* src, float* dst, ptrdiff_t m) {
    float v[16];
    for (int k = 0; k < 16; ++k) v[k] = 1.0f;
    __builtin_memcpy(v, src, static_cast<size_t>(m) * 4);
    const __m256 a = _mm256_loadu_ps(v), b = _mm256_loadu_ps(v + 8);
    __m256 ta, tb;
    __m256 ra = Refined8(a, ta), rb = Refined8(b, tb);
    int result = 0;
    const __m256 nan = _mm256_or_ps(_mm256_cmp_ps(ta, ta, _CMP_UNORD_Q), _mm256_cmp_ps(tb, tb, _CMP_UNORD_Q));
    if (_mm256_movemask_ps(nan) != 0) {
      ra = _mm256_sqrt_ps(a);
      rb = _mm256_sqrt_ps(b);
      const __m256 neg = _mm256_or_ps(_mm256_cmp_ps(a, _mm256_setzero_ps(), _CMP_LT_OQ),
                                      _mm256_cmp_ps(b, _mm256_setzero_ps(), _CMP_LT_OQ));
      result = _mm256_movemask_ps(neg) != 0;
    }
    _mm256_storeu_ps(v, ra);
    _mm256_storeu_ps(v + 8, rb);
    __builtin_memcpy(dst, v, static_cast<size_t>(m) * 4);
    return result;
  }

  // F of each element, +0 where the exponent field is zero (zero or subnormal).
  static void FlushedFusedSums(const float* s, float* d, ptrdiff_t count) {
    for (ptrdiff_t k = 0; k < count; ++k) {
      float v = FusedSum(s + 2 * k);
      uint32_t b;
      __builtin_memcpy(&b, &v, 4);
      if ((b & 0x7F800000u) == 0) v = 0.0f;
      Put(d + k, v);
    }
  }

  static void MagnitudeFmaKernel(const float* s, float* d, ptrdiff_t n) {
    const unsigned saved = _mm_getcsr();
    if ((saved & 0x1F80u) != 0x1F80u) {
      _mm_setcsr((saved | 0x1F80u) & ~0x1Fu);
    }
    const uintptr_t a = Addr(d);
    const ptrdiff_t q = static_cast<ptrdiff_t>((a % 32) / 4);
    ptrdiff_t i = 0;
    if (q != 0) {
      const ptrdiff_t h = n < 8 - q ? n : 8 - q;
      FlushedFusedSums(s, d, h);
      SqrtTailKernel(d, d, h);
      i = h;
    }
    if (i < n && !Multiple(d + i, 32)) {
      for (; i < n; ++i) Put(d + i, ExactScalarRoot(FusedSum(s + 2 * i)));
    } else {
      const __m256 lowest = _mm256_castsi256_ps(_mm256_set1_epi32(static_cast<int>(kRefinedLowBits)));
      const __m256 inf = _mm256_set1_ps(__builtin_inff());
      for (; n - i >= 16; i += 16) {
        const __m256 s0 = Plain8(s + 2 * i), s1 = Plain8(s + 2 * i + 16);
        const __m256 ok0 = _mm256_and_ps(_mm256_cmp_ps(s0, lowest, _CMP_GE_OQ), _mm256_cmp_ps(s0, inf, _CMP_LT_OQ));
        const __m256 ok1 = _mm256_and_ps(_mm256_cmp_ps(s1, lowest, _CMP_GE_OQ), _mm256_cmp_ps(s1, inf, _CMP_LT_OQ));
        __m256 r0, r1, t;
        if (_mm256_movemask_ps(_mm256_and_ps(ok0, ok1)) == 0xFF) {
          r0 = Refined8(s0, t);
          r1 = Refined8(s1, t);
        } else {
          r0 = _mm256_sqrt_ps(s0);
          r1 = _mm256_sqrt_ps(s1);
        }
        _mm256_store_ps(d + i, r0);
        _mm256_store_ps(d + i + 8, r1);
      }
      const ptrdiff_t m = n - i;
      FlushedFusedSums(s + 2 * i, d + i, m);
      SqrtTailKernel(d + i, d + i, m);
    }
    const unsigned now = _mm_getcsr();
    if ((now & ~0x20u) != (saved & ~0x20u)) {
      _mm_setcsr((saved & ~(0x02u | 0x10u | 0x08u | 0x20u)) | (now & (0x08u | 0x20u)));
    }
  }
#endif

  // ---- the class implementations ------------------------------------------------

  static int32_t Check(const void* s, const void* d, int32_t n) {
    if (s == nullptr) return StatusNullPointer;
    if (d == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    return StatusOk;
  }

  static int32_t Magnitude(const float* s, float* d, int32_t n) {
    if (const int32_t st = Check(s, d, n); st != StatusOk) return st;
    if constexpr (C == 0) {
      for (int32_t i = 0; i < n; ++i) Put(d + i, ExactScalarRoot(PlainSum(s + 2 * i)));
    } else if constexpr (C <= 4) {
      MagnitudeKernel(s, d, n);
    } else {
#if defined(__FMA__)
      MagnitudeFmaKernel(s, d, n);
#endif
    }
    return StatusOk;
  }
  static int32_t MagnitudeSquared(const float* s, float* d, int32_t n) {
    if (const int32_t st = Check(s, d, n); st != StatusOk) return st;
    PowerRoad(s, d, n);
    return StatusOk;
  }
  static int32_t Abs(const float* s, float* d, int32_t n) {
    if (const int32_t st = Check(s, d, n); st != StatusOk) return st;
    AbsRoad(s, d, n);
    return StatusOk;
  }
};

using M = Mag<kClass>;

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorMagnitudeComplexFloat32)(const ComplexFloat32* src, float* dst, int32_t n) {
  return LV_NS::M::Magnitude(reinterpret_cast<const float*>(src), dst, n);
}
int32_t LV_NAME(VectorMagnitudeSquaredComplexFloat32)(const ComplexFloat32* src, float* dst, int32_t n) {
  return LV_NS::M::MagnitudeSquared(reinterpret_cast<const float*>(src), dst, n);
}
int32_t LV_NAME(VectorAbsFloat32)(const float* src, float* dst, int32_t n) { return LV_NS::M::Abs(src, dst, n); }
                                  