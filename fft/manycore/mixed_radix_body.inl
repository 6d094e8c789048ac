// The mixed-radix transform of the many-core class, orders 8 to 16 (see
// fft/manycore/many_core.h), and the class's many-core roads of both
// directions. Class 6 only: 512-bit registers with AVX-512F instructions.
#include <immintrin.h>

#include <cstdint>

#include "fft/fft_class_table.h"
#include "fft/manycore/many_core.h"
#include "fft/setup/many_core_plan.h"
#include "primitives/arith/arith_classes.h"

static_assert(LV_CLASS == 6, "the mixed-radix transform is the many-core class's own");

namespace LV_NS {
namespace {

#include "fft/manycore/zmm_ops.inl"

// ---- split registers: 16 consecutive points of one row, 16 real parts and 16 imaginary parts ----
struct Split {
  __m512 re, im;
};

inline Split LoadSplit(const float* p) { return {_mm512_load_ps(p), _mm512_load_ps(p + 16)}; }
inline void StoreSplit(float* p, Split z) {
  _mm512_store_ps(p, z.re);
  _mm512_store_ps(p + 16, z.im);
}
inline Split Add(Split a, Split b) { return {_mm512_add_ps(a.re, b.re), _mm512_add_ps(a.im, b.im)}; }
inline Split Sub(Split a, Split b) { return {_mm512_sub_ps(a.re, b.re), _mm512_sub_ps(a.im, b.im)}; }

// q + r z and q - r z with r = -i (forward) or +i (inverse), each part one addition.
template <int kSign>
inline Split AddRot(Split q, Split z) {
  if constexpr (kSign < 0) return {_mm512_add_ps(q.re, z.im), _mm512_sub_ps(q.im, z.re)};
  return {_mm512_sub_ps(q.re, z.im), _mm512_add_ps(q.im, z.re)};
}
template <int kSign>
inline Split SubRot(Split q, Split z) {
  if constexpr (kSign < 0) return {_mm512_sub_ps(q.re, z.im), _mm512_add_ps(q.im, z.re)};
  return {_mm512_add_ps(q.re, z.im), _mm512_sub_ps(q.im, z.re)};
}

// z = (a, b) times the stored pair (u, v) (forward: (a u - b v, b u + a v); the
// inverse multiplies by the conjugate): one product, then one fused
// multiply-add per part.
template <int kSign>
inline Split Twiddle(Split z, Split w) {
  if constexpr (kSign < 0) {
    return {_mm512_fnmadd_ps(z.im, w.im, _mm512_mul_ps(z.re, w.re)),
            _mm512_fmadd_ps(z.re, w.im, _mm512_mul_ps(z.im, w.re))};
  }
  return {_mm512_fmadd_ps(z.im, w.im, _mm512_mul_ps(z.re, w.re)),
          _mm512_fnmadd_ps(z.re, w.im, _mm512_mul_ps(z.im, w.re))};
}

// Radix-4 butterfly on the twiddled rows b[0..3] (row order), results by output index.
template <int kSign>
inline void Butterfly4(const Split* b, Split* y) {
  const Split p = Add(b[0], b[1]), q = Sub(b[0], b[1]), s = Add(b[2], b[3]), d = Sub(b[2], b[3]);
  y[0] = Add(p, s);
  y[2] = Sub(p, s);
  y[1] = AddRot<kSign>(q, d);
  y[3] = SubRot<kSign>(q, d);
}

// Radix-8 butterfly: three radix-2 levels on the twiddled rows b[0..7]; the
// products by sqrt(1/2) are fused into the last additions.
template <int kSign>
inline void Butterfly8(const Split* b, Split* y) {
  const Split a = Add(b[0], b[1]), a1 = Sub(b[0], b[1]), bb = Add(b[2], b[3]), b1 = Sub(b[2], b[3]);
  const Split c = Add(b[4], b[5]), c1 = Sub(b[4], b[5]), d = Add(b[6], b[7]), d1 = Sub(b[6], b[7]);
  const Split e0 = Add(a, bb), e2 = Sub(a, bb), e1 = AddRot<kSign>(a1, b1), e3 = SubRot<kSign>(a1, b1);
  const Split f0 = Add(c, d), f2 = Sub(c, d), f1 = AddRot<kSign>(c1, d1), f3 = SubRot<kSign>(c1, d1);
  y[0] = Add(e0, f0);
  y[4] = Sub(e0, f0);
  y[2] = AddRot<kSign>(e2, f2);
  y[6] = SubRot<kSign>(e2, f2);
  const __m512 h = _mm512_set1_ps(kH);
  // G = e^(-i pi/4) F1 (forward) or e^(+i pi/4) F1; H = e^(-3i pi/4)-conjugate partner of F3.
  __m512 gRe, gIm, hRe, hIm;
  if constexpr (kSign < 0) {
    gRe = _mm512_add_ps(f1.re, f1.im);
    gIm = _mm512_sub_ps(f1.im, f1.re);
    hRe = _mm512_sub_ps(f3.re, f3.im);
    hIm = _mm512_add_ps(f3.re, f3.im);
  } else {
    gRe = _mm512_sub_ps(f1.re, f1.im);
    gIm = _mm512_add_ps(f1.im, f1.re);
    hRe = _mm512_add_ps(f3.re, f3.im);
    hIm = _mm512_sub_ps(f3.im, f3.re);
  }
  y[1] = {_mm512_fmadd_ps(h, gRe, e1.re), _mm512_fmadd_ps(h, gIm, e1.im)};
  y[5] = {_mm512_fnmadd_ps(h, gRe, e1.re), _mm512_fnmadd_ps(h, gIm, e1.im)};
  y[3] = {_mm512_fnmadd_ps(h, hRe, e3.re), _mm512_fnmadd_ps(h, hIm, e3.im)};
  y[7] = {_mm512_fmadd_ps(h, hRe, e3.re), _mm512_fmadd_ps(h, hIm, e3.im)};
}

// The decimation index of each row: row r holds sub-transform rev(r).
constexpr int kRev8[8] = {0, 4, 2, 6, 1, 5, 3, 7};
constexpr int kRev4[4] = {0, 2, 1, 3};

// Loads the R rows of chunk c at rowBase (floats) with row distance rowStep
// (floats) and twiddles them with the chunk's pairs.
template <int R, int kSign>
inline void LoadTwiddled(const float* rows, int64_t rowStep, const Split* w, Split* b) {
  const int* rev = R == 8 ? kRev8 : kRev4;
  b[0] = LoadSplit(rows);
  for (int r = 1; r < R; ++r) b[r] = Twiddle<kSign>(LoadSplit(rows + r * rowStep), w[rev[r] - 1]);
}

template <int R, int kSign>
inline void Butterfly(const Split* b, Split* y) {
  if constexpr (R == 8) {
    Butterfly8<kSign>(b, y);
  } else {
    Butterfly4<kSign>(b, y);
  }
}

// A pass of radix R at stride s over m groups, in place: column chunks outside,
// groups inside, the chunk's twiddles held across its groups.
template <int R, int kSign>
void Pass(float* work, const float* t, int32_t s, int32_t m) {
  const int64_t rowStep = 2 * int64_t{s};
  for (int32_t c = 0; c < s / 16; ++c) {
    Split w[R - 1];
    for (int p = 0; p < R - 1; ++p) w[p] = LoadSplit(t + 32 * (R - 1) * int64_t{c} + 32 * p);
    for (int32_t g = 0; g < m; ++g) {
      float* rows = work + 2 * (int64_t{g} * R * s + 16 * int64_t{c});
      const int64_t step = rowStep;
      Split b[R], y[R];
      LoadTwiddled<R, kSign>(rows, step, w, b);
      Butterfly<R, kSign>(b, y);
      for (int k = 0; k < R; ++k) StoreSplit(rows + k * step, y[k]);
    }
  }
}

// The last stage: R rows of s points into the interleaved destination, points
// 16c + k s .. 16c + 15 + k s of output row k. A chunk is read completely before
// any of it is written, so dst may be the work area.
template <int R, int kSign>
void LastStage(const float* work, ComplexFloat32* dst, const float* t, int64_t s) {
  const __m512i lo = _mm512_setr_epi32(0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
  const __m512i hi = _mm512_setr_epi32(8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31);
  float* out = &dst->re;
  for (int64_t c = 0; c < s / 16; ++c) {
    Split w[R - 1];
    for (int p = 0; p < R - 1; ++p) w[p] = LoadSplit(t + 32 * (R - 1) * c + 32 * p);
    Split b[R], y[R];
    LoadTwiddled<R, kSign>(work + 32 * c, 2 * s, w, b);
    Butterfly<R, kSign>(b, y);
    for (int k = 0; k < R; ++k) {
      float* o = out + 2 * (16 * c + k * s);
      _mm512_storeu_ps(o, _mm512_permutex2var_ps(y[k].re, lo, y[k].im));
      _mm512_storeu_ps(o + 16, _mm512_permutex2var_ps(y[k].re, hi, y[k].im));
    }
  }
}

constexpr int kRev3[8] = {0, 4, 2, 6, 1, 5, 3, 7};

// One group t of the first stage: x[j] holds the 8 interleaved points
// x[i0 + j N/16] of the group's 8 lanes; the 16-point DFT of lane l becomes
// block t + rev3(l) N/128 (16 real parts, then 16 imaginary parts), at float
// 32 t + rev3(l) N/4 of the work area.
template <int kSign>
inline void FirstStageGroup(__m512* x, float* work, int64_t t, int64_t n) {
  __m512 y[16];
  Dft16<kSign>(x, y);
  Transpose16x16(y);  // y[2l]: real parts of lane l's outputs 0..15, y[2l+1]: imaginary parts
  float* base = work + 32 * t;
  const int64_t rowFloats = n / 4;
  for (int l = 0; l < 8; ++l) {
    _mm512_store_ps(base + kRev3[l] * rowFloats, y[2 * l]);
    _mm512_store_ps(base + kRev3[l] * rowFloats + 16, y[2 * l + 1]);
  }
}

// First stage: bit reversal and the first four levels. Out of place (the
// source is not the work area): group t reads its 16 x 8 points from the
// source through list entry 32t. In place (source = work area, 64-byte
// aligned): a block exchange of the middle index bits first, then each group
// reads and rewrites the same 128 points (row r of N/8 points holds lane
// rev3(r)'s block afterwards).
template <int kSign>
void FirstStage(const ComplexFloat32* src, float* work, const int32_t* list, int64_t n) {
  const int64_t rowFloats = n / 4, groups = n / 128;
  const float* in = &src->re;
  if (in != work) {
    for (int64_t t = 0; t < groups; ++t) {
      const float* base = in + 8 * int64_t{list[32 * t]};
      __m512 x[16];
      for (int j = 0; j < 16; ++j) x[j] = _mm512_loadu_ps(base + j * (n / 8));
      FirstStageGroup<kSign>(x, work, t, n);
    }
    return;
  }
  // Exchange blocks of 8 points b <-> rev(b) (the middle bits) in every row of N/8 points.
  for (int64_t b = 1; b < n / 64 - 1; ++b) {
    const int64_t p = list[b] >> 5;
    if (b < p) {
      for (int r = 0; r < 8; ++r) {
        float* row = work + r * rowFloats;
        const __m512 u = _mm512_load_ps(row + 16 * b), v = _mm512_load_ps(row + 16 * p);
        _mm512_store_ps(row + 16 * b, v);
        _mm512_store_ps(row + 16 * p, u);
      }
    }
  }
  for (int64_t t = 0; t < groups; ++t) {
    __m512 x[16];
    const float* at = work + 32 * t;
    for (int r = 0; r < 8; ++r) {
      x[2 * r] = _mm512_load_ps(at + r * rowFloats);
      x[2 * r + 1] = _mm512_load_ps(at + r * rowFloats + 16);
    }
    FirstStageGroup<kSign>(x, work, t, n);
  }
}

// The whole mixed-radix transform: first stage, radix-8 passes, at most one
// radix-4 pass, last stage.
template <int kSign>
void MixedRadix(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const float* twiddles,
                const int32_t* swapList, uint8_t* buffer) {
  float* work = (reinterpret_cast<uintptr_t>(dst) & 63) == 0 ? &dst->re : reinterpret_cast<float*>(buffer);
  FirstStage<kSign>(src, work, swapList, n);
  int32_t m = n / 16, s = 16;
  const float* t = twiddles + 32;
  while (m > 16) {
    m /= 8;
    Pass<8, kSign>(work, t, s, m);
    t += 14 * s;
    s *= 8;
  }
  if (m > 8) {
    m = 4;
    Pass<4, kSign>(work, t, s, 4);
    t += 6 * s;
    s *= 4;
  }
  if (m == 4) {
    LastStage<4, kSign>(work, dst, t, s);
  } else {
    LastStage<8, kSign>(work, dst, t, s);
  }
}

}  // namespace
}  // namespace LV_NS

// ---- forward ----
void FftForwardMixedRadixFirstStageAvx512ManyCore(const ComplexFloat32* src, float* work, const int32_t* list,
                                                  int64_t n) {
  LV_NS::FirstStage<-1>(src, work, list, n);
}
void FftForwardMixedRadix8PassAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m) {
  LV_NS::Pass<8, -1>(work, t, s, m);
}
void FftForwardMixedRadix4PassAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m) {
  LV_NS::Pass<4, -1>(work, t, s, m);
}
void FftForwardMixedRadix4LastStageAvx512ManyCore(const float* work, ComplexFloat32* dst, const float* t, int64_t s) {
  LV_NS::LastStage<4, -1>(work, dst, t, s);
}
void FftForwardMixedRadix8LastStageAvx512ManyCore(const float* work, ComplexFloat32* dst, const float* t, int64_t s) {
  LV_NS::LastStage<8, -1>(work, dst, t, s);
}
void FftForwardMixedRadixAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n,
                                        const float* twiddles, const int32_t* swapList, uint8_t* buffer) {
  LV_NS::MixedRadix<-1>(src, dst, n, twiddles, swapList, buffer);
}

// ---- inverse: the Large and Small members share their body ----
void FftInverseFirstStageLargeAvx512ManyCore(const ComplexFloat32* src, float* work, const int32_t* list, int64_t n) {
  LV_NS::FirstStage<1>(src, work, list, n);
}
void FftInverseFirstStageSmallAvx512ManyCore(const ComplexFloat32* src, float* work, const int32_t* list, int64_t n) {
  LV_NS::FirstStage<1>(src, work, list, n);
}
void FftInverseRadix8StageLargeAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m) {
  LV_NS::Pass<8, 1>(work, t, s, m);
}
void FftInverseRadix8StageSmallAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m) {
  LV_NS::Pass<8, 1>(work, t, s, m);
}
void FftInverseRadix4StageLargeAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m) {
  LV_NS::Pass<4, 1>(work, t, s, m);
}
void FftInverseRadix4StageSmallAvx512ManyCore(float* work, const float* t, int32_t s, int32_t m) {
  LV_NS::Pass<4, 1>(work, t, s, m);
}
void FftInverseLastRadix4StageAvx512ManyCore(const float* work, ComplexFloat32* dst, const float* t, int64_t s) {
  LV_NS::LastStage<4, 1>(work, dst, t, s);
}
void FftInverseLastRadix8StageAvx512ManyCore(const float* work, ComplexFloat32* dst, const float* t, int64_t s) {
  LV_NS::LastStage<8, 1>(work, dst, t, s);
}
void FftInverseMixedRadixAvx512ManyCore(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n,
                                        const float* twiddles, const int32_t* swapList, uint8_t* buffer) {
  LV_NS::MixedRadix<1>(src, dst, n, twiddles, swapList, buffer);
}

// ---- the many-core roads, orders 0 to 16 ----
namespace LV_NS {
namespace {

template <int kSign>
int32_t ManyCoreRoad(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* plan,
                     uint8_t* workBuffer) {
  const auto* spec = reinterpret_cast<const FftManyCoreSpecComplexFloat32*>(plan);
  const int32_t order = spec->order;
  const bool scaled = (kSign < 0 ? spec->forwardScale : spec->inverseScale) != 0;
  if (order <= 7) {
    if (scaled) {
      (kSign < 0 ? kFftForwardManyCoreNormalisedKernelsAvx512ManyCore
                 : kFftInverseManyCoreNormalisedKernelsAvx512ManyCore)[order](src, dst, spec->scale);
    } else {
      (kSign < 0 ? kFftForwardManyCorePlainKernelsAvx512ManyCore
                 : kFftInverseManyCorePlainKernelsAvx512ManyCore)[order](src, dst, plan);
    }
    return StatusOk;
  }
  uint8_t* buffer = nullptr;
  if (spec->workBytes > 0) {
    buffer = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(workBuffer) + 63) & ~uintptr_t{63});
  }
  const int32_t n = int32_t{1} << order;
  MixedRadix<kSign>(src, dst, n, spec->twiddles, spec->swapList, buffer);
  if (scaled) VectorMultiplyScalarInPlaceFloat32Avx512ManyCore(spec->scale, &dst->re, 2 * n);
  return StatusOk;
}

}  // namespace
}  // namespace LV_NS

int32_t FftForwardManyCoreSpec(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                               uint8_t* work) {
  return LV_NS::ManyCoreRoad<-1>(src, dst, spec, work);
}

int32_t FftInverseManyCoreSpec(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                               uint8_t* work) {
  return LV_NS::ManyCoreRoad<1>(src, dst, spec, work);
}
