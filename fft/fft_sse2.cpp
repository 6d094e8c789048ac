// The portable complex FFT (processor class 0): size query, initialisation and
// the forward and inverse transforms of orders 0 to 27, in scalar
// single-precision arithmetic, each product rounded before it is added.
//
// Roads by order:
// - 0 to 5: one straight-line kernel per order and direction (plain or
//   normalising), no tables;
// - 6 to 10: scalar bit reversal through the pairs-format swap list, then the
//   radix-4 stages with the twiddle triples of the order;
// - 11 to 27: the large-order driver: one bit reversal of the whole array, then
//   2^n rows of at most 1024 points (or 2048/4096-point rows made of
//   1024-point blocks joined by radix-2 combine passes), then column
//   transforms of 2^n points, four columns at a time through the work buffer,
//   with one more level of the same split for orders 23 to 27.
// The forward and inverse twins share one body: the inverse multiplies by the
// conjugate of each stored twiddle and turns by +j where the forward turns by
// -j, so inverse(x) is, float for float, conj(forward(conj(x))).
// Every output value is scaled exactly once: inside the small kernels, after
// the medium road, or on each leaf (row or 1024-point block) of the driver.
#include "fft/fft_sse2.h"

#include <cstddef>
#include <cstdint>

#include "fft/fft.h"
#include "fft/setup/fft_spec.h"
#include "fft/fft_class_table.h"
#include "fft/fft_classes.h"
#include "fft/kernels/small_kernels.h"
#include "fft/setup/permute.h"
#include "fft/setup/setup.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith.h"
#include "cpu/dispatch.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/zerofill/zerofill.h"
#include "vmath/sincos/sincos.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {

using Cx = ComplexFloat32;
constexpr FftClassRow kRow = kFftClasses[0];

template <typename T>
T* AlignUp(T* p) {
  return reinterpret_cast<T*>((reinterpret_cast<uintptr_t>(p) + 63) & ~uintptr_t{63});
}

// ---------------------------------------------------------------------------
// Complex arithmetic of both directions. A stored twiddle w is the forward
// factor (cos, -sin); the inverse multiplies by its conjugate.

inline Cx Add(Cx a, Cx b) { return {a.re + b.re, a.im + b.im}; }
inline Cx Sub(Cx a, Cx b) { return {a.re - b.re, a.im - b.im}; }
inline Cx Scale(Cx a, float s) { return {a.re * s, a.im * s}; }

template <bool Inv>
Cx Mul(Cx z, Cx w) {
  if constexpr (Inv) {
    return {z.re * w.re + z.im * w.im, z.im * w.re - z.re * w.im};
  } else {
    return {z.re * w.re - z.im * w.im, z.re * w.im + z.im * w.re};
  }
}

// The quarter turn of the direction: -j z forward, +j z inverse (exact).
template <bool Inv>
Cx Turn(Cx z) {
  if constexpr (Inv) {
    return {-z.im, z.re};
  } else {
    return {z.im, -z.re};
  }
}

// t + Turn(u) and t - Turn(u), formed part by part.
template <bool Inv>
Cx AddTurned(Cx t, Cx u) {
  if constexpr (Inv) {
    return {t.re - u.im, t.im + u.re};
  } else {
    return {t.re + u.im, t.im - u.re};
  }
}
template <bool Inv>
Cx SubTurned(Cx t, Cx u) {
  if constexpr (Inv) {
    return {t.re + u.im, t.im - u.re};
  } else {
    return {t.re - u.im, t.im + u.re};
  }
}

// Eighth turn (angle pi/4 of the direction) with c = cos(pi/4), sum first.
template <bool Inv>
Cx EighthTurn(Cx z, float c) {
  if constexpr (Inv) {
    return {(z.re - z.im) * c, (z.im + z.re) * c};
  } else {
    return {c * (z.re + z.im), c * (z.im - z.re)};
  }
}

// Three eighths of a turn with s = -cos(pi/4) (= -sin(pi/4)), sum first.
template <bool Inv>
Cx ThreeEighthsTurn(Cx z, float s) {
  if constexpr (Inv) {
    return {(z.re + z.im) * s, (z.im - z.re) * s};
  } else {
    return {s * (z.re - z.im), s * (z.re + z.im)};
  }
}

// z times W16^9 formed from w3 = W16^3 = (c3, s3) with its parts exchanged.
template <bool Inv>
Cx NineSixteenths(Cx z, Cx w3) {
  if constexpr (Inv) {
    return {w3.im * z.re + w3.re * z.im, w3.im * z.im - w3.re * z.re};
  } else {
    return {w3.im * z.re - w3.re * z.im, w3.im * z.im + w3.re * z.re};
  }
}

// Radix-4 butterfly of the rotated legs a, b, c, d (b carries the squared
// twiddle, c the plain one): out0 = (a+b)+(c+d), out2 = (a+b)-(c+d),
// out1 = (a-b) + Turn(c-d), out3 = (a-b) - Turn(c-d).
template <bool Inv>
void Butterfly4(Cx a, Cx b, Cx c, Cx d, Cx* o0, Cx* o1, Cx* o2, Cx* o3) {
  const Cx s0 = Add(a, b);
  const Cx s1 = Add(c, d);
  const Cx d0 = Sub(a, b);
  const Cx d1 = Sub(c, d);
  *o0 = Add(s0, s1);
  *o2 = Sub(s0, s1);
  *o1 = AddTurned<Inv>(d0, d1);
  *o3 = SubTurned<Inv>(d0, d1);
}

// ---------------------------------------------------------------------------
// Radix-4 stages of n = 4 .. 1024 points, bit-reversed in, natural order out.
// Stages: radix 4 of span 1; for odd orders radix 2 of span 4; for even
// orders radix 4 of span 4 with its twiddles from one triple; then radix 4
// of growing span with the triples read at stride n / (4 span).

template <bool Inv>
void Radix4Stages(Cx* x, int64_t n, const float* twiddles) {
  const Cx* tw = reinterpret_cast<const Cx*>(twiddles);  // triple t at tw[3t]
  int64_t span = 0;
  if ((n & 0xAAAAAAAA) != 0) {
    // Odd order: radix 4 of span 1, then radix 2 of span 4, both done on one
    // group of 8 points in registers before the next group.
    if (n >= 8) {
      const Cx w = tw[3 * (n / 8)];  // (cos pi/4, -sin pi/4)
      for (int64_t g = 0; g < n; g += 8) {
        Cx* p = x + g;
        Cx a[8];
        Butterfly4<Inv>(p[0], p[1], p[2], p[3], a + 0, a + 1, a + 2, a + 3);
        Butterfly4<Inv>(p[4], p[5], p[6], p[7], a + 4, a + 5, a + 6, a + 7);
        const Cx u0 = a[4];
        const Cx u1 = EighthTurn<Inv>(a[5], w.re);
        const Cx u2 = Turn<Inv>(a[6]);
        const Cx u3 = ThreeEighthsTurn<Inv>(a[7], w.im);
        p[0] = Add(a[0], u0);
        p[4] = Sub(a[0], u0);
        p[1] = Add(a[1], u1);
        p[5] = Sub(a[1], u1);
        p[2] = Add(a[2], u2);
        p[6] = Sub(a[2], u2);
        p[3] = Add(a[3], u3);
        p[7] = Sub(a[3], u3);
      }
    }
    span = 8;
  } else {
    if (n >= 16) {
      // Even order: radix 4 of span 1, then radix 4 of span 4 with every
      // twiddle from the triple of W16, both on one group of 16 points.
      const int64_t t = n / 16;
      const Cx w1 = tw[3 * t];
      const Cx w3 = tw[3 * t + 2];
      const float c = tw[3 * t + 1].re;
      const float s = tw[3 * t + 1].im;
      for (int64_t g = 0; g < n; g += 16) {
        Cx* p = x + g;
        Cx a[16];
        for (int m = 0; m < 16; m += 4) {
          Butterfly4<Inv>(p[m], p[m + 1], p[m + 2], p[m + 3], a + m, a + m + 1, a + m + 2, a + m + 3);
        }
        Butterfly4<Inv>(a[0], a[4], a[8], a[12], p + 0, p + 4, p + 8, p + 12);
        Butterfly4<Inv>(a[1], EighthTurn<Inv>(a[5], c), Mul<Inv>(a[9], w1), Mul<Inv>(a[13], w3), p + 1, p + 5, p + 9,
                        p + 13);
        Butterfly4<Inv>(a[2], Turn<Inv>(a[6]), EighthTurn<Inv>(a[10], c), ThreeEighthsTurn<Inv>(a[14], s), p + 2,
                        p + 6, p + 10, p + 14);
        Butterfly4<Inv>(a[3], ThreeEighthsTurn<Inv>(a[7], s), Mul<Inv>(a[11], w3), NineSixteenths<Inv>(a[15], w3),
                        p + 3, p + 7, p + 11, p + 15);
      }
    } else if (n == 4) {
      Butterfly4<Inv>(x[0], x[1], x[2], x[3], x + 0, x + 1, x + 2, x + 3);
    }
    span = 16;
  }
  for (; 4 * span <= n; span *= 4) {
    const int64_t stride = n / (4 * span);
    for (int64_t g = 0; g < n; g += 4 * span) {
      Cx* p0 = x + g;
      Cx* p1 = p0 + span;
      Cx* p2 = p1 + span;
      Cx* p3 = p2 + span;
      Butterfly4<Inv>(p0[0], p1[0], p2[0], p3[0], p0, p1, p2, p3);
      const Cx* w = tw + 3 * stride;
      for (int64_t k = 1; k < span; ++k, w += 3 * stride) {
        Butterfly4<Inv>(p0[k], Mul<Inv>(p1[k], w[1]), Mul<Inv>(p2[k], w[0]), Mul<Inv>(p3[k], w[2]), p0 + k, p1 + k,
                        p2 + k, p3 + k);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Large orders.

template <bool Inv>
void ScaleLeaf(const FftSpecComplexFloat32* spec, Cx* data, int64_t points) {
  if ((Inv ? spec->inverseScale : spec->forwardScale) != 0) {
    VectorMultiplyScalarInPlaceFloat32Sse2(spec->scale, reinterpret_cast<float*>(data), static_cast<int32_t>(2 * points));
  }
}

// Joins the m / b0 transforms of b0 points into one of m points by radix-2
// stages of span b = b0, 2 b0, ..; table holds W_m^k, k < m/4. Butterflies are
// taken in runs of 128 indices over every block pair; the second half-span
// uses the same entries turned by a quarter.
template <bool Inv>
void CombinePass(Cx* data, int64_t m, int64_t b0, const Cx* table) {
  for (int64_t b = b0; b < m; b *= 2) {
    const int64_t step = m / (2 * b);
    for (int64_t k0 = 0; k0 < b / 2; k0 += 128) {
      for (int64_t pair = 0; pair < m; pair += 2 * b) {
        Cx* top = data + pair;
        Cx* bottom = top + b;
        for (int64_t k = k0; k < k0 + 128; ++k) {
          const Cx u = Mul<Inv>(bottom[k], table[k * step]);
          const Cx a = top[k];
          top[k] = Add(a, u);
          bottom[k] = Sub(a, u);
        }
        for (int64_t k = k0; k < k0 + 128; ++k) {
          const Cx w = table[k * step];
          const Cx x = bottom[k + b / 2];
          Cx u;
          if constexpr (Inv) {
            u = {x.re * w.im - x.im * w.re, x.im * w.im + x.re * w.re};
          } else {
            u = {x.re * w.im + x.im * w.re, x.im * w.im - x.re * w.re};
          }
          const Cx a = top[k + b / 2];
          top[k + b / 2] = Add(a, u);
          bottom[k + b / 2] = Sub(a, u);
        }
      }
    }
  }
}

// A row of 2048 or 4096 points: 1024-point blocks, each scaled, then the
// combine passes.
template <bool Inv>
void CombineLeaf(const FftSpecComplexFloat32* spec, Cx* p, int64_t m) {
  const float* tw = static_cast<const float*>(spec->twiddles);
  for (int64_t i = 0; i < m / 1024; ++i) {
    // The inverse takes the blocks from the last to the first.
    Cx* block = p + 1024 * (Inv ? m / 1024 - 1 - i : i);
    Radix4Stages<Inv>(block, 1024, tw);
    ScaleLeaf<Inv>(spec, block, 1024);
  }
  CombinePass<Inv>(p, m, 1024, static_cast<const Cx*>(spec->combineTable));
}

// One level of order L: 2^n rows of C points (bit-reversed as part of the
// whole array), then the columns: four at a time, each value times its column
// twiddle into the work buffer, R-point transforms there, and back.
template <bool Inv>
void LargeOrderLevel(const FftSpecComplexFloat32* spec, Cx* data, int32_t order, int32_t depth, Cx* work) {
  const int32_t n = kFftOrderSplitSse2[order];
  const int32_t inner = order - n;
  const int64_t rows = int64_t{1} << n;
  const int64_t cols = int64_t{1} << inner;
  for (int64_t r = 0; r < rows; ++r) {
    Cx* row = data + r * cols;
    if (inner <= kRow.leafLimit) {
      Radix4Stages<Inv>(row, cols, static_cast<const float*>(spec->twiddles));
      ScaleLeaf<Inv>(spec, row, cols);
    } else if (kFftOrderSplitSse2[inner] == 0) {
      CombineLeaf<Inv>(spec, row, cols);
    } else {
      LargeOrderLevel<Inv>(spec, row, inner, depth + 1, work);
    }
  }
  const Cx* tw = static_cast<const Cx*>(spec->columnTables[depth]);
  const float* outer = static_cast<const float*>(spec->outerTables[depth]);
  for (int64_t g = 0; g < cols; g += 4) {
    for (int64_t r = 0; r < rows; ++r) {
      const Cx* src = data + r * cols + g;
      work[r] = Mul<Inv>(src[0], tw[0]);
      work[rows + r] = Mul<Inv>(src[1], tw[1]);
      work[2 * rows + r] = Mul<Inv>(src[2], tw[2]);
      work[3 * rows + r] = Mul<Inv>(src[3], tw[3]);
      tw += 4;
    }
    for (int64_t j = 0; j < 4; ++j) {
      Radix4Stages<Inv>(work + j * rows, rows, outer);
    }
    for (int64_t r = 0; r < rows; ++r) {
      Cx* dst = data + r * cols + g;
      dst[0] = work[r];
      dst[1] = work[rows + r];
      dst[2] = work[2 * rows + r];
      dst[3] = work[3 * rows + r];
    }
  }
}

template <bool Inv>
void LargeOrder(const FftSpecComplexFloat32* spec, const Cx* src, Cx* dst, int32_t order, Cx* work) {
  const int32_t points = int32_t{1} << order;
  const int32_t* list = static_cast<const int32_t*>(spec->swapList);
  if (src != dst) {
    BitReverseCopyScalarSse2(src, dst, points, list);
  } else {
    BitReverseInPlaceScalarSse2(dst, points, list);
  }
  if (kFftOrderSplitSse2[order] == 0) {
    CombineLeaf<Inv>(spec, dst, points);
  } else {
    LargeOrderLevel<Inv>(spec, dst, order, 0, work);
  }
}

template <bool Inv>
int32_t Transform(const Cx* src, Cx* dst, const FftSpecComplexFloat32* spec, uint8_t* workBuffer) {
  if (spec == nullptr) {
    return StatusNullPointer;
  }
  if (spec->identifier != kFftSpecIdentifier) {
    return StatusFftBadSpec;
  }
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (workBuffer == nullptr && spec->workBytes > 0) {
    return StatusNullPointer;
  }
  const int32_t order = spec->order;
  const bool scaled = (Inv ? spec->inverseScale : spec->forwardScale) != 0;
  if (order <= kRow.smallOrderLimit) {
    if (scaled) {
      (Inv ? kFftInverseNormalisedKernelsSse2 : kFftForwardNormalisedKernelsSse2)[order](src, dst, spec->scale);
    } else {
      (Inv ? kFftInversePlainKernelsSse2 : kFftForwardPlainKernelsSse2)[order](src, dst, spec);
    }
    return StatusOk;
  }
  Cx* work = (workBuffer != nullptr && spec->workBytes > 0) ? reinterpret_cast<Cx*>(AlignUp(workBuffer)) : nullptr;
  const int32_t points = int32_t{1} << order;
  if (order <= kRow.leafLimit) {
    const int32_t* list = static_cast<const int32_t*>(spec->swapList);
    if (src == dst) {
      BitReverseInPlaceScalarSse2(dst, points, list);
    } else {
      BitReverseCopyScalarSse2(src, dst, points, list);
    }
    Radix4Stages<Inv>(dst, points, static_cast<const float*>(spec->twiddles));
    if (scaled) {
      VectorMultiplyScalarInPlaceFloat32Sse2(spec->scale, reinterpret_cast<float*>(dst), 2 * points);
    }
    return StatusOk;
  }
  LargeOrder<Inv>(spec, src, dst, order, work);
  return StatusOk;
}

}  // namespace
}  // namespace lv_sse2




void FftForwardRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles) {
  lv_sse2::Radix4Stages<false>(data, n, twiddles);
}
void FftInverseRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles) {
  lv_sse2::Radix4Stages<true>(data, n, twiddles);
}

// ---------------------------------------------------------------------------
// Entry points of the class.

int32_t FftForwardComplexFloat32Sse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                     uint8_t* workBuffer) {
  return lv_sse2::Transform<false>(src, dst, spec, workBuffer);
}

int32_t FftInverseComplexFloat32Sse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                     uint8_t* workBuffer) {
  return lv_sse2::Transform<true>(src, dst, spec, workBuffer);
}
