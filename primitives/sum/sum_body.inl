// The float and complex sums, written once and built once per processor class
// (sum_sse2.cpp ... sum_avx512.cpp).
//
// Each class adds in its own fixed order: its partial sums, its heads to an
// aligned boundary, its blocks of single-precision accumulation (HintFast)
// and the way it folds the partial sums together. Every accumulator starts at
// +0.0; the double total is rounded once to float at the end.
//
// The kernels are members of Sums<C>, a template over the class number
// instantiated once, for kClass: its members for wider classes (their vector
// types and instructions) are then never compiled in narrower ones.
#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/simd_ops.inl"
#include "primitives/sum/sum_classes.h"
#include "primitives/vector_types.h"

namespace LV_NS {
namespace {

template <int C>
struct Sums {
  static uintptr_t Addr(const void* p) { return reinterpret_cast<uintptr_t>(p); }
  static float Ld(const float* p) {
    float x;
    __builtin_memcpy(&x, p, 4);
    return x;
  }
  static double Wd(const float* p) { return static_cast<double>(Ld(p)); }

  // ---- 128-bit helpers (every class) ----------------------------------------
  static __m128d Widen2(const float* p) {  // two floats, widened
    return _mm_cvtps_pd(X4f::Load2(p));
  }
  static double Lo(__m128d v) { return _mm_cvtsd_f64(v); }
  static double Hi(__m128d v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }

  // ============================================================================
  // Float sum, double accumulation
  // ============================================================================

  static double FloatDouble(const float* p, ptrdiff_t n) {
    if constexpr (C == 0) {
      if (n < 8) {
        double s = 0.0;
        for (ptrdiff_t i = 0; i < n; ++i) s += Wd(p + i);
        return s;
      }
      const ptrdiff_t m = n / 8 * 8;
      __m128d a0 = _mm_setzero_pd(), a1 = a0, a2 = a0, a3 = a0;  // (P0,P1) (P2,P3) (P4,P5) (P6,P7)
      for (ptrdiff_t k = 0; k < m; k += 8) {
        const __m128 x = _mm_loadu_ps(p + k), y = _mm_loadu_ps(p + k + 4);
        a0 = _mm_add_pd(a0, _mm_cvtps_pd(x));
        a1 = _mm_add_pd(a1, _mm_cvtps_pd(_mm_movehl_ps(x, x)));
        a2 = _mm_add_pd(a2, _mm_cvtps_pd(y));
        a3 = _mm_add_pd(a3, _mm_cvtps_pd(_mm_movehl_ps(y, y)));
      }
      const __m128d w = _mm_add_pd(_mm_add_pd(a0, a1), _mm_add_pd(a2, a3));
      double s = Lo(w) + Hi(w);
      for (ptrdiff_t i = m; i < n; ++i) s += Wd(p + i);
      return s;
    } else if constexpr (C <= 3) {
      ptrdiff_t i = 0;
      __m128d a0 = _mm_setzero_pd(), a1 = a0, a2 = a0, a3 = a0;
      if (Addr(p) & 4) {
        a0 = _mm_add_sd(a0, _mm_set_sd(Wd(p)));
        i = 1;
      }
      const ptrdiff_t g = (n - i) / 8 * 8;
      for (ptrdiff_t k = i; k < i + g; k += 8) {
        const __m128 x = _mm_loadu_ps(p + k), y = _mm_loadu_ps(p + k + 4);
        a0 = _mm_add_pd(a0, _mm_cvtps_pd(x));
        a1 = _mm_add_pd(a1, _mm_cvtps_pd(_mm_movehl_ps(x, x)));
        a2 = _mm_add_pd(a2, _mm_cvtps_pd(y));
        a3 = _mm_add_pd(a3, _mm_cvtps_pd(_mm_movehl_ps(y, y)));
      }
      __m128d ab = _mm_add_pd(a0, a2), cd = _mm_add_pd(a1, a3);  // (A,B), (C,D)
      ptrdiff_t j = i + g, r = n - j;
      if (r >= 4) {
        ab = _mm_add_pd(ab, Widen2(p + j));
        cd = _mm_add_pd(cd, Widen2(p + j + 2));
        j += 4;
        r -= 4;
      }
      if (r >= 2) {
        ab = _mm_add_pd(ab, Widen2(p + j));
        j += 2;
        r -= 2;
      }
      if (r == 1) ab = _mm_add_sd(ab, _mm_set_sd(Wd(p + j)));
      const __m128d x = _mm_add_pd(ab, cd);  // (A+C, B+D)
      return Lo(x) + Hi(x);
    } else if constexpr (C <= 5) {
      const uintptr_t a = Addr(p);
      const ptrdiff_t h = (a % 4 == 0 && a % 32 != 0) ? static_cast<ptrdiff_t>((32 - a % 32) / 4) : 0;
      if (n < 16 || a % 4 != 0 || n < h + 16) {
        if constexpr (C == 4) {
          double s = 0.0;
          for (ptrdiff_t i = 0; i < n; ++i) s += Wd(p + i);
          return s;
        } else {
          return Tail45(p, 0, n, 0.0);
        }
      }
      double hs = 0.0;
      for (ptrdiff_t i = 0; i < h; ++i) hs += Wd(p + i);
      __m256d v0 = _mm256_setr_pd(hs, 0.0, 0.0, 0.0), v1 = _mm256_setzero_pd(), v2 = v1, v3 = v1;
      const ptrdiff_t g = (n - h) / 16 * 16;
      for (ptrdiff_t k = h; k < h + g; k += 16) {
        v0 = _mm256_add_pd(v0, _mm256_cvtps_pd(_mm_load_ps(p + k)));
        v1 = _mm256_add_pd(v1, _mm256_cvtps_pd(_mm_load_ps(p + k + 4)));
        v2 = _mm256_add_pd(v2, _mm256_cvtps_pd(_mm_load_ps(p + k + 8)));
        v3 = _mm256_add_pd(v3, _mm256_cvtps_pd(_mm_load_ps(p + k + 12)));
      }
      const __m256d w = _mm256_add_pd(_mm256_add_pd(v0, v1), _mm256_add_pd(v2, v3));
      const __m128d x = _mm_add_pd(_mm256_castpd256_pd128(w), _mm256_extractf128_pd(w, 1));  // (W0+W2, W1+W3)
      return Tail45(p, h + g, n, Lo(x) + Hi(x));
    } else if constexpr (C == 6) {
#if defined(__AVX512F__)
      const uintptr_t a = Addr(p);
      __m512d l = _mm512_setzero_pd();
      ptrdiff_t j = 0;
      if (a % 4 != 0) {
        l = Lanewise8(l, p, n);
      } else {
        ptrdiff_t h = a % 64 ? static_cast<ptrdiff_t>((64 - a % 64) / 4) : 0;
        h = h < n ? h : n;
        l = Lanewise8(l, p, h);
        j = h;
        if (n - h >= 64) {
          __m512d acc[8];
          acc[0] = l;
          for (int k = 1; k < 8; ++k) acc[k] = _mm512_setzero_pd();
          const ptrdiff_t g = (n - h) / 64 * 64;
          for (ptrdiff_t q = h; q < h + g; q += 64) {
            for (int k = 0; k < 8; ++k) acc[k] = _mm512_add_pd(acc[k], Widen8(p + q + 8 * k));
          }
          l = _mm512_add_pd(_mm512_add_pd(_mm512_add_pd(acc[0], acc[1]), _mm512_add_pd(acc[2], acc[3])),
                            _mm512_add_pd(_mm512_add_pd(acc[4], acc[5]), _mm512_add_pd(acc[6], acc[7])));
          j = h + g;
        }
        l = Lanewise8(l, p + j, n - j);
      }
      double m[4];
      Fold8(l, m);
      return (m[1] + m[2]) + (m[0] + m[3]);
#endif
    } else {
#if defined(__AVX512F__)
      const uintptr_t a = Addr(p);
      __m512d A = _mm512_setzero_pd(), B = A;
      ptrdiff_t h = 0, j = 0;
      bool mainStretch = true;
      if (n >= 849) {
        if (a % 4 != 0) {
          mainStretch = false;
        } else {
          h = a % 64 ? static_cast<ptrdiff_t>((64 - a % 64) / 4) : 0;
          h = h < n ? h : n;
          A = Lanewise8(A, p, h);
        }
      }
      j = h;
      if (mainStretch) {
        const ptrdiff_t g = (n - h) / 32 * 32;
        for (ptrdiff_t q = h; q < h + g; q += 32) {
          A = _mm512_add_pd(A, Widen8(p + q));
          B = _mm512_add_pd(B, Widen8(p + q + 8));
          A = _mm512_add_pd(A, Widen8(p + q + 16));
          B = _mm512_add_pd(B, Widen8(p + q + 24));
        }
        j = h + g;
      }
      A = Lanewise8(A, p + j, n - j);
      double m[4];
      Fold8(_mm512_add_pd(A, B), m);
      return (m[0] + m[2]) + (m[1] + m[3]);
#endif
    }
    return 0.0;
  }

  // Classes 4 and 5: groups of 4 into U = (s, 0, 0, 0), then singles.
  static double Tail45(const float* p, ptrdiff_t i, ptrdiff_t n, double s) {
    const ptrdiff_t t = n - i;
    if (t >= 4) {
      __m256d u = _mm256_setr_pd(s, 0.0, 0.0, 0.0);
      const ptrdiff_t g = t / 4 * 4;
      for (ptrdiff_t k = i; k < i + g; k += 4) u = _mm256_add_pd(u, _mm256_cvtps_pd(_mm_loadu_ps(p + k)));
      const __m128d x = _mm_add_pd(_mm256_castpd256_pd128(u), _mm256_extractf128_pd(u, 1));  // (U0+U2, U1+U3)
      s = Lo(x) + Hi(x);
      i += g;
    }
    for (; i < n; ++i) s += Wd(p + i);
    return s;
  }

#if defined(__AVX512F__)
  // The all-lanes masked forms below: g++ 12 warns about the unmasked ones' undefined source.
  static __m512d Cvt8(__m256 x) { return _mm512_mask_cvtps_pd(_mm512_setzero_pd(), 0xFF, x); }
  static __m256d Low4(__m512d l) { return _mm512_mask_extractf64x4_pd(_mm256_setzero_pd(), 0xFF, l, 0); }
  static __m256d High4(__m512d l) { return Low4(_mm512_mask_shuffle_f64x2(l, 0xFF, l, l, 0xEE)); }
  static __m512d Widen8(const float* p) { return Cvt8(_mm256_loadu_ps(p)); }
  // m <= 8 floats, the others read as +0.0 (adding +0.0 to a lane changes nothing).
  static __m512d Widen8Masked(const float* p, int m) {
    const __m512 x = _mm512_maskz_loadu_ps(static_cast<__mmask16>((1u << m) - 1u), p);
    return Cvt8(_mm512_castps512_ps256(x));
  }
  // count floats lane-wise into l (the k-th to lane k mod 8).
  static __m512d Lanewise8(__m512d l, const float* p, ptrdiff_t count) {
    for (ptrdiff_t k = 0; k < count; k += 8) {
      const int m = static_cast<int>(count - k < 8 ? count - k : 8);
      l = _mm512_add_pd(l, Widen8Masked(p + k, m));
    }
    return l;
  }
  // m[i] = l[i] + l[i + 4].
  static void Fold8(__m512d l, double* m) {
    const __m256d x = _mm256_add_pd(Low4(l), High4(l));
    _mm256_storeu_pd(m, x);
  }
#endif

  // ============================================================================
  // Float sum, single-precision blocks (HintFast)
  // ============================================================================

  // Class 0: the single-precision sum of one block.
  static float Block0(const float* p, ptrdiff_t len, bool last) {
    const uintptr_t a = Addr(p);
    float s = 0.0f;
    const ptrdiff_t h = (a % 4 == 0 && a % 16 != 0) ? static_cast<ptrdiff_t>((16 - a % 16) / 4) : 0;
    if (a % 4 != 0 || (last && len < h + 32)) {
      for (ptrdiff_t i = 0; i < len; ++i) s += Ld(p + i);
      return s;
    }
    for (ptrdiff_t i = 0; i < h; ++i) s += Ld(p + i);
    const ptrdiff_t g = (len - h) / 32 * 32;
    __m128 acc[8];
    for (auto& v : acc) v = _mm_setzero_ps();
    for (ptrdiff_t q = h; q < h + g; q += 32) {
      for (int k = 0; k < 8; ++k) acc[k] = _mm_add_ps(acc[k], _mm_load_ps(p + q + 4 * k));
    }
    __m128 v = _mm_add_ps(_mm_add_ps(_mm_add_ps(acc[0], acc[1]), _mm_add_ps(acc[2], acc[3])),
                          _mm_add_ps(_mm_add_ps(acc[4], acc[5]), _mm_add_ps(acc[6], acc[7])));
    ptrdiff_t i = h + g;
    for (; len - i >= 4; i += 4) v = _mm_add_ps(v, _mm_loadu_ps(p + i));
    for (; i < len; ++i) s += Ld(p + i);
    const __m128 x = _mm_add_ps(v, _mm_movehl_ps(v, v));  // (V0+V2, V1+V3)
    const float y = _mm_cvtss_f32(_mm_add_ss(x, _mm_shuffle_ps(x, x, 1)));
    return y + s;
  }

  // Classes 1-3: the block routine; returns (F0, F1) in lanes 0 and 1.
  static __m128 Block13(const float* p, ptrdiff_t len) {
    __m128 a0 = _mm_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
    const ptrdiff_t g = len / 16 * 16;
    for (ptrdiff_t q = 0; q < g; q += 16) {
      a0 = _mm_add_ps(a0, _mm_loadu_ps(p + q));
      a1 = _mm_add_ps(a1, _mm_loadu_ps(p + q + 4));
      a2 = _mm_add_ps(a2, _mm_loadu_ps(p + q + 8));
      a3 = _mm_add_ps(a3, _mm_loadu_ps(p + q + 12));
    }
    __m128 v = _mm_add_ps(_mm_add_ps(a0, a2), _mm_add_ps(a1, a3));
    ptrdiff_t i = g;
    for (; len - i >= 4; i += 4) v = _mm_add_ps(v, _mm_loadu_ps(p + i));
    if (len - i >= 2) {
      v = _mm_add_ps(v, X4f::Load2(p + i));
      i += 2;
    }
    if (len - i == 1) v = _mm_add_ss(v, X4f::Load1(p + i));
    return _mm_add_ps(v, _mm_movehl_ps(v, v));
  }

  // Classes 4-7: a block of len floats (ungrouped rest taken by the bits of
  // len) added to the four double lanes t.
  static __m256d BlockWide(const float* p, ptrdiff_t len, __m256d t, bool full) {
    __m256 a0 = _mm256_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
    const ptrdiff_t g = len / 32 * 32;
    for (ptrdiff_t q = 0; q < g; q += 32) {
      a0 = _mm256_add_ps(a0, _mm256_loadu_ps(p + q));
      a1 = _mm256_add_ps(a1, _mm256_loadu_ps(p + q + 8));
      a2 = _mm256_add_ps(a2, _mm256_loadu_ps(p + q + 16));
      a3 = _mm256_add_ps(a3, _mm256_loadu_ps(p + q + 24));
    }
    __m256 v;
    if (full) {
      v = _mm256_add_ps(_mm256_add_ps(a0, a2), _mm256_add_ps(a1, a3));
    } else {
      __m256 pp = _mm256_add_ps(a0, a2), qq = _mm256_add_ps(a1, a3);
      ptrdiff_t i = g;
      if (len & 16) {
        pp = _mm256_add_ps(pp, _mm256_loadu_ps(p + i));
        qq = _mm256_add_ps(qq, _mm256_loadu_ps(p + i + 8));
        i += 16;
      }
      v = _mm256_add_ps(pp, qq);
      if (len & 8) {
        v = _mm256_add_ps(v, _mm256_loadu_ps(p + i));
        i += 8;
      }
      if (len & 4) {
        v = _mm256_add_ps(v, _mm256_insertf128_ps(_mm256_setzero_ps(), _mm_loadu_ps(p + i), 0));
        i += 4;
      }
      if (len & 2) {
        const __m128 x = X4f::Load2(p + i);
        v = _mm256_add_ps(v, _mm256_insertf128_ps(_mm256_setzero_ps(), x, 0));
        i += 2;
      }
      if (len & 1) {
        v = _mm256_add_ps(v, _mm256_insertf128_ps(_mm256_setzero_ps(), X4f::Load1(p + i), 0));
      }
    }
    const __m256d lo = _mm256_cvtps_pd(_mm256_castps256_ps128(v));
    const __m256d hi = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));
    return _mm256_add_pd(t, _mm256_add_pd(lo, hi));
  }
  // Classes 4-7: blocks of 8192 and the last block over count floats.
  static __m256d BlocksWide(const float* p, ptrdiff_t count, __m256d t) {
    ptrdiff_t i = 0;
    for (; count - i >= 8192; i += 8192) t = BlockWide(p + i, 8192, t, true);
    return BlockWide(p + i, count - i, t, false);
  }

  static double FloatFast(const float* p, ptrdiff_t n) {
    if constexpr (C == 0) {
      double t = 0.0;
      ptrdiff_t i = 0;
      for (; n - i >= 1024; i += 1024) t += static_cast<double>(Block0(p + i, 1024, false));
      t += static_cast<double>(Block0(p + i, n - i, true));
      return t;
    } else if constexpr (C <= 3) {
      __m128d tt = _mm_setzero_pd();  // (T0, T1)
      ptrdiff_t i = 0;
      for (; i < n && (Addr(p + i) & 12) != 0; ++i) tt = _mm_add_sd(tt, _mm_set_sd(Wd(p + i)));
      if (i < n) {
        for (; n - i >= 32768; i += 32768) tt = _mm_add_pd(tt, _mm_cvtps_pd(Block13(p + i, 32768)));
        tt = _mm_add_pd(tt, _mm_cvtps_pd(Block13(p + i, n - i)));
      }
      return Lo(tt) + Hi(tt);
    } else {
      if (Addr(p) % 4 != 0) return FloatDouble(p, n);
      const uintptr_t a = Addr(p);
      ptrdiff_t h = a % 32 ? static_cast<ptrdiff_t>(8 - (a % 32) / 4) : 0;
      h = h < n ? h : n;
      float hs = 0.0f;
      for (ptrdiff_t i = 0; i < h; ++i) hs += Ld(p + i);
      __m256d t = _mm256_setr_pd(static_cast<double>(hs), 0.0, 0.0, 0.0);
      t = BlocksWide(p + h, n - h, t);
      const __m128d x = _mm_hadd_pd(_mm256_castpd256_pd128(t), _mm256_extractf128_pd(t, 1));  // (T0+T1, T2+T3)
      return Lo(x) + Hi(x);
    }
  }

  // ============================================================================
  // Complex sums; results as (real, imaginary) doubles
  // ============================================================================

  static void ComplexDouble(const float* p, ptrdiff_t n, double& re, double& im) {
    if constexpr (C == 0) {
      re = 0.0;
      im = 0.0;
      ptrdiff_t m = 0;
      if (n >= 8) {
        m = n / 8 * 8;
        __m128d r01 = _mm_setzero_pd(), r23 = r01, r45 = r01, r67 = r01, ii = r01;
        for (ptrdiff_t k = 0; k < m; k += 8) {
          const float* e = p + 2 * k;
          const __m128d e0 = Widen2(e), e1 = Widen2(e + 2), e2 = Widen2(e + 4), e3 = Widen2(e + 6);
          const __m128d e4 = Widen2(e + 8), e5 = Widen2(e + 10), e6 = Widen2(e + 12), e7 = Widen2(e + 14);
          r01 = _mm_add_pd(r01, _mm_unpacklo_pd(e0, e1));
          r23 = _mm_add_pd(r23, _mm_unpacklo_pd(e2, e3));
          r45 = _mm_add_pd(r45, _mm_unpacklo_pd(e4, e5));
          r67 = _mm_add_pd(r67, _mm_unpacklo_pd(e6, e7));
          ii = _mm_add_pd(ii, _mm_unpackhi_pd(e0, e1));  // (I0, I1) in index order
          ii = _mm_add_pd(ii, _mm_unpackhi_pd(e2, e3));
          ii = _mm_add_pd(ii, _mm_unpackhi_pd(e4, e5));
          ii = _mm_add_pd(ii, _mm_unpackhi_pd(e6, e7));
        }
        const __m128d w = _mm_add_pd(_mm_add_pd(r01, r23), _mm_add_pd(r45, r67));
        re = Lo(w) + Hi(w);
        im = Lo(ii) + Hi(ii);
      }
      for (ptrdiff_t i = m; i < n; ++i) {
        re += Wd(p + 2 * i);
        im += Wd(p + 2 * i + 1);
      }
    } else if constexpr (C <= 3) {
      __m128d c0 = _mm_setzero_pd(), c1 = c0, c2 = c0, c3 = c0;
      const ptrdiff_t g = n / 4 * 4;
      for (ptrdiff_t k = 0; k < g; k += 4) {
        const float* e = p + 2 * k;
        c0 = _mm_add_pd(c0, Widen2(e));
        c1 = _mm_add_pd(c1, Widen2(e + 2));
        c2 = _mm_add_pd(c2, Widen2(e + 4));
        c3 = _mm_add_pd(c3, Widen2(e + 6));
      }
      c0 = _mm_add_pd(c0, c2);
      c1 = _mm_add_pd(c1, c3);
      ptrdiff_t i = g;
      if (n - i >= 2) {
        c0 = _mm_add_pd(c0, Widen2(p + 2 * i));
        c1 = _mm_add_pd(c1, Widen2(p + 2 * i + 2));
        i += 2;
      }
      if (n - i == 1) c0 = _mm_add_pd(c0, Widen2(p + 2 * i));
      const __m128d r = _mm_add_pd(c0, c1);
      re = Lo(r);
      im = Hi(r);
    } else {
      if (Addr(p) % 4 != 0) {
        ComplexUnaligned(p, n, re, im);
        return;
      }
      const ptrdiff_t nf = 2 * n;
      const uintptr_t a = Addr(p);
      ptrdiff_t h = a % 32 ? static_cast<ptrdiff_t>(8 - (a % 32) / 4) : 0;
      h = h < nf ? h : nf;
      double head[2] = {0.0, 0.0};  // by part: real, imaginary
      for (ptrdiff_t i = 0; i < h; ++i) head[i & 1] += Wd(p + i);
      const int first = static_cast<int>(h & 1);  // part of the first float after the head
      __m256d v0 = _mm256_setr_pd(head[first], head[first ^ 1], 0.0, 0.0), v1 = _mm256_setzero_pd(), v2 = v1,
              v3 = v1;
      const float* q = p + h;
      const ptrdiff_t len = nf - h, g = len / 16 * 16;
      for (ptrdiff_t k = 0; k < g; k += 16) {
        v0 = _mm256_add_pd(v0, _mm256_cvtps_pd(_mm_loadu_ps(q + k)));
        v1 = _mm256_add_pd(v1, _mm256_cvtps_pd(_mm_loadu_ps(q + k + 4)));
        v2 = _mm256_add_pd(v2, _mm256_cvtps_pd(_mm_loadu_ps(q + k + 8)));
        v3 = _mm256_add_pd(v3, _mm256_cvtps_pd(_mm_loadu_ps(q + k + 12)));
      }
      __m256d pp = _mm256_add_pd(v0, v2), qq = _mm256_add_pd(v1, v3);
      const ptrdiff_t left = len - g;
      ptrdiff_t i = g;
      if (left & 8) {
        pp = _mm256_add_pd(pp, _mm256_cvtps_pd(_mm_loadu_ps(q + i)));
        qq = _mm256_add_pd(qq, _mm256_cvtps_pd(_mm_loadu_ps(q + i + 4)));
        i += 8;
      }
      __m256d r = _mm256_add_pd(pp, qq);
      if (left & 4) {
        r = _mm256_add_pd(r, _mm256_cvtps_pd(_mm_loadu_ps(q + i)));
        i += 4;
      }
      if (left & 2) {
        r = _mm256_add_pd(r, _mm256_insertf128_pd(_mm256_setzero_pd(), Widen2(q + i), 0));
        i += 2;
      }
      if (left & 1) {
        r = _mm256_add_pd(r, _mm256_setr_pd(Wd(q + i), 0.0, 0.0, 0.0));
      }
      const __m128d x = _mm_add_pd(_mm256_castpd256_pd128(r), _mm256_extractf128_pd(r, 1));  // (R0+R2, R1+R3)
      re = first == 0 ? Lo(x) : Hi(x);
      im = first == 0 ? Hi(x) : Lo(x);
    }
  }

  // Classes 4-7, address not a multiple of 4: the parts separated, each in double.
  static void ComplexUnaligned(const float* p, ptrdiff_t n, double& re, double& im) {
    if constexpr (C == 4 || C == 5) {
      const ptrdiff_t g = n / 16 * 16;
      __m256d raR = _mm256_setzero_pd(), rbR = raR, raI = raR, rbI = raR;
      for (ptrdiff_t k = 0; k < g; k += 8) {
        __m256d r, i;
        Split4(p + 2 * k, r, i);
        raR = _mm256_add_pd(raR, r);
        raI = _mm256_add_pd(raI, i);
        Split4(p + 2 * k + 8, r, i);
        rbR = _mm256_add_pd(rbR, r);
        rbI = _mm256_add_pd(rbI, i);
      }
      double s[2];
      const __m256d wR = _mm256_add_pd(raR, rbR), wI = _mm256_add_pd(raI, rbI);
      const __m128d xR = _mm_add_pd(_mm256_castpd256_pd128(wR), _mm256_extractf128_pd(wR, 1));
      const __m128d xI = _mm_add_pd(_mm256_castpd256_pd128(wI), _mm256_extractf128_pd(wI, 1));
      s[0] = Lo(xR) + Hi(xR);
      s[1] = Lo(xI) + Hi(xI);
      ptrdiff_t i = g;
      const ptrdiff_t t = n - g;
      if (t >= 4) {
        __m256d uR = _mm256_setr_pd(s[0], 0.0, 0.0, 0.0), uI = _mm256_setr_pd(s[1], 0.0, 0.0, 0.0);
        const ptrdiff_t g4 = t / 4 * 4;
        for (ptrdiff_t k = i; k < i + g4; k += 4) {
          __m256d r, im4;
          Split4(p + 2 * k, r, im4);
          uR = _mm256_add_pd(uR, r);
          uI = _mm256_add_pd(uI, im4);
        }
        const __m128d yR = _mm_add_pd(_mm256_castpd256_pd128(uR), _mm256_extractf128_pd(uR, 1));
        const __m128d yI = _mm_add_pd(_mm256_castpd256_pd128(uI), _mm256_extractf128_pd(uI, 1));
        s[0] = Lo(yR) + Hi(yR);
        s[1] = Lo(yI) + Hi(yI);
        i += g4;
      }
      for (; i < n; ++i) {
        s[0] += Wd(p + 2 * i);
        s[1] += Wd(p + 2 * i + 1);
      }
      re = s[0];
      im = s[1];
    } else {
#if defined(__AVX512F__)
      constexpr ptrdiff_t kBlock = C == 6 ? 64 : 32;
      const ptrdiff_t g = n / kBlock * kBlock;
      __m512d raR = _mm512_setzero_pd(), rbR = raR, raI = raR, rbI = raR;
      for (ptrdiff_t k = 0; k < g; k += 16) {
        __m512d r, i;
        Split8(p + 2 * k, 8, r, i);
        raR = _mm512_add_pd(raR, r);
        raI = _mm512_add_pd(raI, i);
        Split8(p + 2 * k + 16, 8, r, i);
        rbR = _mm512_add_pd(rbR, r);
        rbI = _mm512_add_pd(rbI, i);
      }
      for (ptrdiff_t k = g; k < n; k += 8) {
        const int m = static_cast<int>(n - k < 8 ? n - k : 8);
        __m512d r, i;
        Split8(p + 2 * k, m, r, i);
        raR = _mm512_add_pd(raR, r);
        raI = _mm512_add_pd(raI, i);
      }
      double mR[4], mI[4];
      Fold8(_mm512_add_pd(raR, rbR), mR);
      Fold8(_mm512_add_pd(raI, rbI), mI);
      if constexpr (C == 6) {
        re = (mR[1] + mR[2]) + (mR[0] + mR[3]);
        im = (mI[1] + mI[2]) + (mI[0] + mI[3]);
      } else {
        re = (mR[0] + mR[2]) + (mR[1] + mR[3]);
        im = (mI[0] + mI[2]) + (mI[1] + mI[3]);
      }
#endif
    }
  }

  // 4 complex elements: real and imaginary parts widened.
  static void Split4(const float* e, __m256d& r, __m256d& i) {
    const __m128 x0 = _mm_loadu_ps(e), x1 = _mm_loadu_ps(e + 4);
    r = _mm256_cvtps_pd(_mm_shuffle_ps(x0, x1, _MM_SHUFFLE(2, 0, 2, 0)));
    i = _mm256_cvtps_pd(_mm_shuffle_ps(x0, x1, _MM_SHUFFLE(3, 1, 3, 1)));
  }
#if defined(__AVX512F__)
  // m <= 8 complex elements (the others +0.0): real and imaginary parts widened.
  static void Split8(const float* e, int m, __m512d& r, __m512d& i) {
    const __m512 x = _mm512_maskz_loadu_ps(static_cast<__mmask16>((1u << (2 * m)) - 1u), e);
    const __m512i idx = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 1, 3, 5, 7, 9, 11, 13, 15);
    const __m512 y = _mm512_mask_permutexvar_ps(x, 0xFFFF, idx, x);
    r = Cvt8(_mm512_castps512_ps256(y));
    i = Cvt8(_mm256_castpd_ps(High4(_mm512_castps_pd(y))));
  }
#endif

  static void ComplexFast(const float* p, ptrdiff_t n, double& re, double& im) {
    if constexpr (C == 0) {
      ComplexDouble(p, n, re, im);
    } else if constexpr (C <= 3) {
      const ptrdiff_t nf = 2 * n;
      double tot[2] = {0.0, 0.0};
      ptrdiff_t i = 0;
      for (; i < nf && (Addr(p + i) & 12) != 0; ++i) tot[i & 1] += Wd(p + i);
      const int first = static_cast<int>(i & 1);
      if (i < nf) {
        for (; nf - i >= 32768; i += 32768) {
          const __m128d f = _mm_cvtps_pd(Block13(p + i, 32768));
          tot[first] += Lo(f);
          tot[first ^ 1] += Hi(f);
        }
        const __m128d f = _mm_cvtps_pd(Block13(p + i, nf - i));
        tot[first] += Lo(f);
        tot[first ^ 1] += Hi(f);
      }
      re = tot[0];
      im = tot[1];
    } else {
      if (Addr(p) % 4 != 0) {
        ComplexUnaligned(p, n, re, im);
        return;
      }
      const ptrdiff_t nf = 2 * n;
      const uintptr_t a = Addr(p);
      ptrdiff_t h = a % 32 ? static_cast<ptrdiff_t>(8 - (a % 32) / 4) : 0;
      h = h < nf ? h : nf;
      float head[2] = {0.0f, 0.0f};
      for (ptrdiff_t i = 0; i < h; ++i) head[i & 1] += Ld(p + i);
      const int first = static_cast<int>(h & 1);
      __m256d t = _mm256_setr_pd(static_cast<double>(head[first]), static_cast<double>(head[first ^ 1]), 0.0, 0.0);
      t = BlocksWide(p + h, nf - h, t);
      const __m128d x = _mm_add_pd(_mm256_castpd256_pd128(t), _mm256_extractf128_pd(t, 1));  // (T0+T2, T1+T3)
      re = first == 0 ? Lo(x) : Hi(x);
      im = first == 0 ? Hi(x) : Lo(x);
    }
  }

  // ---- the class implementations ---------------------------------------------

  static int32_t SumFloat32(const float* src, int32_t n, float* sum, int32_t hint) {
    if (src == nullptr || sum == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    const double s = hint == HintFast ? FloatFast(src, n) : FloatDouble(src, n);
    const float r = static_cast<float>(s);
    __builtin_memcpy(sum, &r, 4);
    return StatusOk;
  }
  static int32_t SumComplexFloat32(const float* src, int32_t n, float* sum, int32_t hint) {
    if (src == nullptr || sum == nullptr) return StatusNullPointer;
    if (n <= 0) return StatusBadCount;
    double re, im;
    if (hint == HintFast) {
      ComplexFast(src, n, re, im);
    } else {
      ComplexDouble(src, n, re, im);
    }
    const float r[2] = {static_cast<float>(re), static_cast<float>(im)};
    __builtin_memcpy(sum, r, 8);
    return StatusOk;
  }
};

using S = Sums<kClass>;

}  // namespace
}  // namespace LV_NS

int32_t LV_NAME(VectorSumFloat32)(const float* src, int32_t n, float* sum, int32_t hint) {
  return LV_NS::S::SumFloat32(src, n, sum, hint);
}
int32_t LV_NAME(VectorSumComplexFloat32)(const ComplexFloat32* src, int32_t n, ComplexFloat32* sum, int32_t hint) {
  return LV_NS::S::SumComplexFloat32(reinterpret_cast<const float*>(src), n, reinterpret_cast<float*>(sum), hint);
}
