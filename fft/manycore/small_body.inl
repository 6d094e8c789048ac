// The small-order kernels of the many-core class, orders 0 to 7 (see
// fft/manycore/many_core.h). Class 6 only.
//
// Orders 3 to 7 (N = 8Q points, Q = N/8 vectors R_q = x[8q .. 8q+7]):
// 1. normalising kernels: order 3 multiplies the loaded vector by the scale;
//    orders 4 to 7 multiply the upper half x[N/2 ..] by it and form the first
//    radix-2 step as s x[n] + (s x[n + N/2]) and s x[n] - (s x[n + N/2]), each
//    one fused multiply-add; with scale 1 they give the plain kernel's bits;
// 2. column transform, per lane n the Q-point DFT over q (Q = 1, 2, 4, 8, 16):
//    C_k[n] = sum_q x[n + 8q] W_Q^(qk);
// 3. C_k lane n times W_N^(nk), from a constant table;
// 4. transpose 8 x 8 points (Q = 16: the two halves apart; Q < 8: the missing
//    vectors are zero), G_n lane k = C_k[n];
// 5. row transform, the 8-point DFT over n: vector u lane k holds X[k + Q u];
//    its Q (at most 8) valid points are stored.
// Order 2 and the orders 0 and 1 of both directions are scalar.
#include <immintrin.h>

#include <cstdint>

#include "fft/manycore/many_core.h"

static_assert(LV_CLASS == 6, "these small-order kernels are the many-core class's own");

namespace LV_NS {
namespace {

#include "fft/manycore/w128_table.inl"
#include "fft/manycore/zmm_ops.inl"

// Per-lane twiddle vectors of the orders 3 to 7: for order L and column k
// (1 .. Q-1), cos(2 pi n k / N) in both floats of lane n and (sin, -sin) of
// the same angle.
struct alignas(64) LaneTwiddle {
  float c[16];
  float s[16];
};
struct LaneTwiddles {
  LaneTwiddle k[16];
};
consteval LaneTwiddles MakeLaneTwiddles(int order) {
  LaneTwiddles t{};
  const int q = (1 << order) / 8, step = 128 >> order;
  for (int k = 1; k < q; ++k) {
    for (int n = 0; n < 8; ++n) {
      const int m = (n * k * step) % 128;
      t.k[k].c[2 * n] = kW128[m][0];
      t.k[k].c[2 * n + 1] = kW128[m][0];
      t.k[k].s[2 * n] = kW128[m][1];
      t.k[k].s[2 * n + 1] = -kW128[m][1];
    }
  }
  return t;
}
alignas(64) constexpr LaneTwiddles kLaneTwiddles[8] = {{}, {}, {}, MakeLaneTwiddles(3), MakeLaneTwiddles(4),
                                                       MakeLaneTwiddles(5), MakeLaneTwiddles(6), MakeLaneTwiddles(7)};

// The Q-point DFT over q of every lane, Q = 1 .. 16, in place on r[0 .. Q-1]
// (kScaled: of scale times r; Q = 1 multiplies).
template <int kSign, int Q, bool kScaled>
inline void ColumnDft(__m512* r, __m512 scale) {
  if constexpr (Q == 1) {
    if constexpr (kScaled) r[0] = _mm512_mul_ps(r[0], scale);
  } else if constexpr (Q == 2) {
    FirstLevel<kScaled>(r[0], r[1], scale, &r[0], &r[1]);
  } else if constexpr (Q == 4) {
    __m512 p, q, s, d;
    FirstLevel<kScaled>(r[0], r[2], scale, &p, &q);
    FirstLevel<kScaled>(r[1], r[3], scale, &s, &d);
    d = RotI<kSign>(d);
    r[0] = _mm512_add_ps(p, s);
    r[2] = _mm512_sub_ps(p, s);
    r[1] = _mm512_add_ps(q, d);
    r[3] = _mm512_sub_ps(q, d);
  } else if constexpr (Q == 8) {
    __m512 out[8];
    Dft8<kSign, kScaled>(r, out, scale);
    for (int k = 0; k < 8; ++k) r[k] = out[k];
  } else if constexpr (Q == 16) {
    __m512 out[16];
    Dft16<kSign, kScaled>(r, out, scale);
    for (int k = 0; k < 16; ++k) r[k] = out[k];
  }
}

template <int kSign, int kOrder, bool kScaled>
inline void VectorKernel(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  constexpr int Q = (1 << kOrder) / 8;
  const float* in = &src->re;
  float* out = &dst->re;
  __m512 r[Q < 8 ? 8 : Q];
  for (int q = 0; q < Q; ++q) r[q] = _mm512_loadu_ps(in + 16 * q);
  ColumnDft<kSign, Q, kScaled>(r, _mm512_set1_ps(scale));
  for (int k = 1; k < Q; ++k) {
    const LaneTwiddle& w = kLaneTwiddles[kOrder].k[k];
    r[k] = TwiddleLanes<kSign>(r[k], _mm512_load_ps(w.c), _mm512_load_ps(w.s));
  }
  for (int q = Q; q < 8; ++q) r[q] = _mm512_setzero_ps();
  for (int h = 0; h < (Q == 16 ? 2 : 1); ++h) {
    __m512* g = r + 8 * h;
    Transpose8x8(g);
    __m512 y[8];
    Dft8<kSign>(g, y);
    for (int u = 0; u < 8; ++u) {
      if constexpr (Q >= 8) {
        _mm512_storeu_ps(out + 2 * (Q * u + 8 * h), y[u]);
      } else {
        _mm512_mask_storeu_ps(out + 2 * (Q * u), static_cast<__mmask16>((1u << (2 * Q)) - 1), y[u]);
      }
    }
  }
}

// Order 2: two radix-2 levels, scalar; the normalising kernel scales the input first.
template <int kSign>
inline void Order2(const ComplexFloat32* src, ComplexFloat32* dst, float s, bool scaled) {
  ComplexFloat32 x[4] = {src[0], src[1], src[2], src[3]};
  if (scaled) {
    for (ComplexFloat32& v : x) v = {s * v.re, s * v.im};
  }
  const ComplexFloat32 p{x[0].re + x[2].re, x[0].im + x[2].im}, q{x[0].re - x[2].re, x[0].im - x[2].im};
  const ComplexFloat32 a{x[1].re + x[3].re, x[1].im + x[3].im}, d{x[1].re - x[3].re, x[1].im - x[3].im};
  // r = d rotated by -i (forward) or +i (inverse)
  const ComplexFloat32 r = kSign < 0 ? ComplexFloat32{d.im, -d.re} : ComplexFloat32{-d.im, d.re};
  dst[0] = {p.re + a.re, p.im + a.im};
  dst[2] = {p.re - a.re, p.im - a.im};
  dst[1] = {q.re + r.re, q.im + r.im};
  dst[3] = {q.re - r.re, q.im - r.im};
}

}  // namespace
}  // namespace LV_NS

// ---- orders 0 and 1, both directions ----
void FftOrder0NormalisedKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const float re = src->re, im = src->im;
  dst->re = scale * re;
  dst->im = scale * im;
}
void FftOrder0KernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*) {
  // A bit copy: NaN payloads and negative zero pass unchanged.
  uint64_t bits;
  __builtin_memcpy(&bits, src, sizeof bits);
  __builtin_memcpy(dst, &bits, sizeof bits);
}
void FftOrder1NormalisedKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const ComplexFloat32 x1 = src[1], x0 = src[0];
  dst[1] = {scale * (x0.re - x1.re), scale * (x0.im - x1.im)};
  const ComplexFloat32 y0 = src[0];
  dst[0] = {scale * (y0.re + x1.re), scale * (y0.im + x1.im)};
}
void FftOrder1KernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32*) {
  const ComplexFloat32 x1 = src[1], x0 = src[0];
  dst[1] = {x0.re - x1.re, x0.im - x1.im};
  const ComplexFloat32 y0 = src[0];
  dst[0] = {y0.re + x1.re, y0.im + x1.im};
}

// ---- orders 2 to 7 ----
#define LV_MANY_CORE_SMALL(Dir, kSign)                                                                           \
  void Fft##Dir##Order2NormalisedKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst,           \
                                                      float scale) {                                           \
    LV_NS::Order2<kSign>(src, dst, scale, true);                                                               \
  }                                                                                                            \
  void Fft##Dir##Order2KernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst,                     \
                                            const FftSpecComplexFloat32*) {                                    \
    LV_NS::Order2<kSign>(src, dst, 1.0f, false);                                                               \
  }                                                                                                            \
  LV_MANY_CORE_VECTOR(Dir, kSign, 3)                                                                           \
  LV_MANY_CORE_VECTOR(Dir, kSign, 4)                                                                           \
  LV_MANY_CORE_VECTOR(Dir, kSign, 5)                                                                           \
  LV_MANY_CORE_VECTOR(Dir, kSign, 6)                                                                           \
  LV_MANY_CORE_VECTOR(Dir, kSign, 7)
#define LV_MANY_CORE_VECTOR(Dir, kSign, k)                                                                       \
  void Fft##Dir##Order##k##NormalisedKernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst,       \
                                                          float scale) {                                       \
    LV_NS::VectorKernel<kSign, k, true>(src, dst, scale);                                                           \
  }                                                                                                            \
  void Fft##Dir##Order##k##KernelAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst,                 \
                                                const FftSpecComplexFloat32*) {                                \
    LV_NS::VectorKernel<kSign, k, false>(src, dst, 1.0f);                                                          \
  }
LV_MANY_CORE_SMALL(Forward, -1)
LV_MANY_CORE_SMALL(Inverse, 1)
#undef LV_MANY_CORE_VECTOR
#undef LV_MANY_CORE_SMALL

#define LV_MANY_CORE_TABLE(Dir, Kind)                                                                            \
  {&FftOrder0##Kind##Avx512ManyCore,         &FftOrder1##Kind##Avx512ManyCore,                                  \
   &Fft##Dir##Order2##Kind##Avx512ManyCore, &Fft##Dir##Order3##Kind##Avx512ManyCore,                            \
   &Fft##Dir##Order4##Kind##Avx512ManyCore, &Fft##Dir##Order5##Kind##Avx512ManyCore,                            \
   &Fft##Dir##Order6##Kind##Avx512ManyCore, &Fft##Dir##Order7##Kind##Avx512ManyCore}
const FftNormalisedKernel kFftForwardManyCoreNormalisedKernelsAvx512ManyCore[8] =
    LV_MANY_CORE_TABLE(Forward, NormalisedKernel);
const FftPlainKernel kFftForwardManyCorePlainKernelsAvx512ManyCore[8] = LV_MANY_CORE_TABLE(Forward, Kernel);
const FftNormalisedKernel kFftInverseManyCoreNormalisedKernelsAvx512ManyCore[8] =
    LV_MANY_CORE_TABLE(Inverse, NormalisedKernel);
const FftPlainKernel kFftInverseManyCorePlainKernelsAvx512ManyCore[8] = LV_MANY_CORE_TABLE(Inverse, Kernel);
#undef LV_MANY_CORE_TABLE
