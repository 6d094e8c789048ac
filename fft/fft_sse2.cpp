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
#include "fft/fft_spec.h"
#include "fft/fft_table_builders.h"
#include "cpu/isa_class.h"
#include "primitives/arith/arith_classes.h"
#include "cpu/dispatch.h"
#include "primitives/sqrt/sqrt_classes.h"
#include "primitives/zerofill/zerofill_classes.h"
#include "vmath/sincos/sincos.h"

LV_ASSERT_CLASS(0);

namespace lv_sse2 {
namespace {

struct TableTag {};
using Cx = ComplexFloat32;

// x rounded up to the next multiple of 64.
int64_t Align64(int64_t x) { return (x + 63) & ~int64_t{63}; }

template <typename T>
T* AlignUp(T* p) {
  return lv_fft_build::AlignUp64<TableTag>(p);
}

// ---------------------------------------------------------------------------
// Complex arithmetic of both directions. A stored twiddle w is the forward
// factor (cos, -sin); the inverse multiplies by its conjugate.

Cx Add(Cx a, Cx b) { return {a.re + b.re, a.im + b.im}; }
Cx Sub(Cx a, Cx b) { return {a.re - b.re, a.im - b.im}; }
Cx Scale(Cx a, float s) { return {a.re * s, a.im * s}; }

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
// Small-order kernels. Stage 1 is a 4-point butterfly over the residues
// (x[r], x[r+M], x[r+2M], x[r+3M]); its first additions are x[n] +- x[n+N/2],
// which the normalising kernels multiply by the scale before anything else.

// Forward twiddle W_N^e of the small kernels as (cos, -sin), from the nearest
// floats of cos(k pi/16), k = 0..8.
constexpr float kCosPi16[9] = {1.0f,        0.98078525f, 0.9238795f,  0.8314696f, 0.70710677f,
                               0.55557024f, 0.38268343f, 0.19509032f, 0.0f};

constexpr float CosOfSixteenths(int k) {  // cos(k pi / 16), 0 <= k < 32
  return k <= 8 ? kCosPi16[k] : k <= 16 ? -kCosPi16[16 - k] : k <= 24 ? -kCosPi16[k - 16] : kCosPi16[32 - k];
}
constexpr Cx SmallTwiddle(int e, int n) {  // W_n^e, n = 8, 16 or 32
  const int k = (e * 32 / n) % 32;          // the angle in sixteenths of pi
  return {CosOfSixteenths(k), -CosOfSixteenths((k + 24) % 32)};
}

// T = W_n^e z for the twiddle step of orders 3 to 5. Multiples of a quarter
// turn are exact; eighth turns are sum first (orders 4 and 5) or general
// products (order 3); everything else is a general product.
template <bool Inv, int N>
Cx SmallRotate(Cx z, int e) {
  constexpr float h = 0.70710677f;
  if (e == 0) return z;
  if (4 * e == N) return Turn<Inv>(z);
  if (2 * e == N) return {-z.re, -z.im};
  if (4 * e == 3 * N) return Turn<!Inv>(z);
  if (N > 8 && 8 * e == N) return EighthTurn<Inv>(z, h);
  if (N > 8 && 8 * e == 3 * N) return ThreeEighthsTurn<Inv>(z, -h);
  return Mul<Inv>(z, SmallTwiddle(e, N));
}

template <bool Norm>
void FirstLevel(Cx u0, Cx u1, Cx u2, Cx u3, float s, Cx* a, Cx* b, Cx* c, Cx* d) {
  *a = Add(u0, u2);
  *b = Sub(u0, u2);
  *c = Add(u1, u3);
  *d = Sub(u1, u3);
  if constexpr (Norm) {
    *a = Scale(*a, s);
    *b = Scale(*b, s);
    *c = Scale(*c, s);
    *d = Scale(*d, s);
  }
}

// D[k] = sum_m u_m Turn^(mk) for the residue (u0..u3).
template <bool Inv, bool Norm>
void Stage1(Cx u0, Cx u1, Cx u2, Cx u3, float s, Cx* out) {
  Cx a, b, c, d;
  FirstLevel<Norm>(u0, u1, u2, u3, s, &a, &b, &c, &d);
  out[0] = Add(a, c);
  out[1] = AddTurned<Inv>(b, d);
  out[2] = Sub(a, c);
  out[3] = SubTurned<Inv>(b, d);
}

template <bool Inv, bool Norm>
void Order2(const Cx* src, Cx* dst, float s) {
  Cx d[4];
  Stage1<Inv, Norm>(src[0], src[1], src[2], src[3], s, d);
  dst[0] = d[0];
  dst[1] = d[1];
  dst[2] = d[2];
  dst[3] = d[3];
}

template <bool Inv, bool Norm>
void Order3(const Cx* src, Cx* dst, float s) {
  Cx d0[4], d1[4];
  Stage1<Inv, Norm>(src[0], src[2], src[4], src[6], s, d0);
  Stage1<Inv, Norm>(src[1], src[3], src[5], src[7], s, d1);
  for (int k = 0; k < 4; ++k) {
    const Cx t1 = SmallRotate<Inv, 8>(d1[k], k);
    dst[k] = Add(d0[k], t1);
    dst[k + 4] = Sub(d0[k], t1);
  }
}

template <bool Inv, bool Norm>
void Order4(const Cx* src, Cx* dst, float s) {
  Cx t[4][4];
  for (int r = 0; r < 4; ++r) {
    Stage1<Inv, Norm>(src[r], src[r + 4], src[r + 8], src[r + 12], s, t[r]);
    for (int k = 1; k < 4; ++k) t[r][k] = SmallRotate<Inv, 16>(t[r][k], r * k);
  }
  for (int k = 0; k < 4; ++k) {
    Cx y[4];
    Stage1<Inv, false>(t[0][k], t[1][k], t[2][k], t[3][k], 1.0f, y);
    for (int q = 0; q < 4; ++q) dst[k + 4 * q] = y[q];
  }
}

template <bool Inv, bool Norm>
void Order5(const Cx* src, Cx* dst, float s) {
  constexpr Cx w8 = SmallTwiddle(1, 8);
  constexpr Cx w83 = SmallTwiddle(3, 8);
  Cx t[8][4];
  for (int r = 0; r < 8; ++r) {
    Stage1<Inv, Norm>(src[r], src[r + 8], src[r + 16], src[r + 24], s, t[r]);
    for (int k = 1; k < 4; ++k) t[r][k] = SmallRotate<Inv, 32>(t[r][k], r * k);
  }
  for (int k = 0; k < 4; ++k) {
    Cx a[4], b[4];
    for (int r = 0; r < 4; ++r) {
      a[r] = Add(t[r][k], t[r + 4][k]);
      b[r] = Sub(t[r][k], t[r + 4][k]);
    }
    Cx y[4];
    Stage1<Inv, false>(a[0], a[1], a[2], a[3], 1.0f, y);
    dst[k] = y[0];
    dst[k + 8] = y[1];
    dst[k + 16] = y[2];
    dst[k + 24] = y[3];
    const Cx aPlus = AddTurned<Inv>(b[0], b[2]);
    const Cx aMinus = SubTurned<Inv>(b[0], b[2]);
    const Cx bPlus = Mul<Inv>(AddTurned<Inv>(b[1], b[3]), w8);
    const Cx bMinus = Mul<Inv>(SubTurned<Inv>(b[1], b[3]), w83);
    dst[k + 4] = Add(aPlus, bPlus);
    dst[k + 20] = Sub(aPlus, bPlus);
    dst[k + 12] = Add(aMinus, bMinus);
    dst[k + 28] = Sub(aMinus, bMinus);
  }
}

// Every kernel reads its whole source before writing: in place is allowed.
template <bool Inv, bool Norm, int Order>
void SmallKernel(const Cx* src, Cx* dst, float s) {
  Cx in[1 << Order];
  for (int i = 0; i < (1 << Order); ++i) in[i] = src[i];
  if constexpr (Order == 2) Order2<Inv, Norm>(in, dst, s);
  if constexpr (Order == 3) Order3<Inv, Norm>(in, dst, s);
  if constexpr (Order == 4) Order4<Inv, Norm>(in, dst, s);
  if constexpr (Order == 5) Order5<Inv, Norm>(in, dst, s);
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
    if (inner <= kFftLeafLimitSse2) {
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
  if (order <= kFftSmallOrderLimitSse2) {
    if (scaled) {
      (Inv ? kFftInverseNormalisedKernelsSse2 : kFftForwardNormalisedKernelsSse2)[order](src, dst, spec->scale);
    } else {
      (Inv ? kFftInversePlainKernelsSse2 : kFftForwardPlainKernelsSse2)[order](src, dst, spec);
    }
    return StatusOk;
  }
  Cx* work = (workBuffer != nullptr && spec->workBytes > 0) ? reinterpret_cast<Cx*>(AlignUp(workBuffer)) : nullptr;
  const int32_t points = int32_t{1} << order;
  if (order <= kFftLeafLimitSse2) {
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

// ---------------------------------------------------------------------------
// Set-up.

// Raw counts of one large-order level of order L (no sine-table term).
void LargeOrderLevelSizes(int32_t order, int64_t* spec, int64_t* init, int64_t* work) {
  const int64_t n = int64_t{1} << order;
  const int32_t outer = kFftOrderSplitSse2[order];
  if (outer == 0) {
    *spec = Align64(2 * n) + 8256;
    *init = 0;
    *work = 0;
    return;
  }
  const int32_t inner = order - outer;
  const int64_t k = int64_t{1} << outer;
  int64_t s = 0;
  int64_t i = 0;
  int64_t w = 0;
  if (inner <= kFftLeafLimitSse2) {
    s = Align64(8 * (int64_t{1} << inner) + 8);
  } else {
    LargeOrderLevelSizes(inner, &s, &i, &w);
  }
  *spec = s + Align64(8 * k + 8) + 8 * n;
  *init = i + Align64(k + 4) + 32 * k;
  *work = w > 32 * k ? w : 32 * k;
}

bool ValidFlag(int32_t flag) {
  return flag == kFftScaleForward || flag == kFftScaleInverse || flag == kFftScaleBoth || flag == kFftNoScale;
}

// W_m^k, k < m/4, for a combine pass of m = 2^order points; padded to 64.
uint8_t* WriteCombineTable(int32_t order, const float* sine, int32_t sineOrder, uint8_t* out) {
  const int64_t m = int64_t{1} << order;
  const int64_t q = (int64_t{1} << sineOrder) / 4;
  const int32_t shift = sineOrder - order;
  float* f = reinterpret_cast<float*>(out);
  for (int64_t k = 0; k < m / 4; ++k) {
    lv_fft_build::QuarterWave<TableTag>(sine, q, k << shift, f + 2 * k, f + 2 * k + 1);
  }
  return AlignUp(out + 2 * m);
}

// The leaves of 2048 or 4096 points: the order-10 triples, then the combine
// table of the leaf order.
uint8_t* WriteCombineLeafTables(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t sineOrder,
                                uint8_t* p) {
  spec->twiddles = p;
  uint8_t* q = reinterpret_cast<uint8_t*>(ExpandRadix4TwiddlesSse2(10, sine, sineOrder, reinterpret_cast<float*>(p)));
  spec->combineTable = q;
  spec->workBytes = 0;
  return WriteCombineTable(order, sine, sineOrder, q);
}

// One level of the plan: the leaf tables or the deeper level, then the outer
// triples of order n and the column table: for each group of four columns
// and each row r, W_N^(p rev_n(r)) for the columns p of the group. Rows are put
// in bit-reversed order through the scratch area (4R values, then the swap
// list of order n). Returns the end of the column table.
uint8_t* BuildLargeOrderPlanLevel(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t sineOrder,
                                  int32_t depth, uint8_t* p, uint8_t* scratch) {
  const int32_t n = kFftOrderSplitSse2[order];
  const int32_t inner = order - n;
  const int64_t rows = int64_t{1} << n;
  const int64_t cols = int64_t{1} << inner;
  uint8_t* q = nullptr;
  if (inner <= kFftLeafLimitSse2) {
    spec->twiddles = p;
    q = reinterpret_cast<uint8_t*>(ExpandRadix4TwiddlesSse2(inner, sine, sineOrder, reinterpret_cast<float*>(p)));
    spec->workBytes = 0;
  } else if (kFftOrderSplitSse2[inner] != 0) {
    q = BuildLargeOrderPlanLevel(spec, inner, sine, sineOrder, depth + 1, p, scratch);
  } else {
    q = WriteCombineLeafTables(spec, inner, sine, sineOrder, p);
  }
  spec->outerTables[depth] = q;
  uint8_t* r = reinterpret_cast<uint8_t*>(ExpandRadix4TwiddlesSse2(n, sine, sineOrder, reinterpret_cast<float*>(q)));
  spec->columnTables[depth] = r;

  Cx* slots = reinterpret_cast<Cx*>(scratch);
  int32_t* list = reinterpret_cast<int32_t*>(scratch + 32 * rows);
  MakeBitReverseListSse2(n, list);
  const int64_t quarter = (int64_t{1} << sineOrder) / 4;
  const int32_t shift = sineOrder - order;
  Cx* out = reinterpret_cast<Cx*>(r);
  for (int64_t g = 0; g < cols; g += 4) {
    for (int64_t j = 0; j < 4; ++j) {
      Cx* slot = slots + j * rows;
      for (int64_t k = 0; k < rows; ++k) {
        lv_fft_build::QuarterWave<TableTag>(sine, quarter, ((g + j) * k) << shift, &slot[k].re, &slot[k].im);
      }
      BitReverseInPlaceScalarSse2(slot, static_cast<int32_t>(rows), list);
    }
    for (int64_t k = 0; k < rows; ++k) {
      *out++ = slots[k];
      *out++ = slots[rows + k];
      *out++ = slots[2 * rows + k];
      *out++ = slots[3 * rows + k];
    }
  }
  if (spec->workBytes < 32 * rows) {
    spec->workBytes = static_cast<int32_t>(32 * rows);
  }
  return r + 8 * (int64_t{1} << order);
}

uint8_t* BuildLargeOrderPlan(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t sineOrder,
                             int32_t* list, uint8_t* scratch) {
  uint8_t* p = reinterpret_cast<uint8_t*>(MakeBitReverseListSse2(order, list));
  if (kFftOrderSplitSse2[order] == 0) {
    return WriteCombineLeafTables(spec, order, sine, sineOrder, p);
  }
  return BuildLargeOrderPlanLevel(spec, order, sine, sineOrder, 0, p, scratch);
}

}  // namespace
}  // namespace lv_sse2

// ---------------------------------------------------------------------------
// Exported routines.

void FftOrder0NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const ComplexFloat32 x = src[0];
  dst[0] = {x.re * scale, x.im * scale};
}
void FftOrder0KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* /*spec*/) {
  dst[0] = src[0];
}
void FftOrder1NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const ComplexFloat32 x0 = src[0];
  const ComplexFloat32 x1 = src[1];
  dst[0] = {(x0.re + x1.re) * scale, (x0.im + x1.im) * scale};
  dst[1] = {(x0.re - x1.re) * scale, (x0.im - x1.im) * scale};
}
void FftOrder1KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* /*spec*/) {
  const ComplexFloat32 x0 = src[0];
  const ComplexFloat32 x1 = src[1];
  dst[0] = {x0.re + x1.re, x0.im + x1.im};
  dst[1] = {x0.re - x1.re, x0.im - x1.im};
}

#define LV_FFT_SMALL_KERNEL_SSE2(Dir, Inv, k)                                                                   \
  void Fft##Dir##Order##k##NormalisedKernelSse2(const ComplexFloat32* src, ComplexFloat32* dst, float scale) { \
    lv_sse2::SmallKernel<Inv, true, k>(src, dst, scale);                                                        \
  }                                                                                                             \
  void Fft##Dir##Order##k##KernelSse2(const ComplexFloat32* src, ComplexFloat32* dst,                         \
                                      const FftSpecComplexFloat32* /*spec*/) {                                  \
    lv_sse2::SmallKernel<Inv, false, k>(src, dst, 1.0f);                                                        \
  }
LV_FFT_SMALL_KERNEL_SSE2(Forward, false, 2)
LV_FFT_SMALL_KERNEL_SSE2(Forward, false, 3)
LV_FFT_SMALL_KERNEL_SSE2(Forward, false, 4)
LV_FFT_SMALL_KERNEL_SSE2(Forward, false, 5)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, true, 2)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, true, 3)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, true, 4)
LV_FFT_SMALL_KERNEL_SSE2(Inverse, true, 5)
#undef LV_FFT_SMALL_KERNEL_SSE2

const FftNormalisedKernel kFftForwardNormalisedKernelsSse2[6] = {
    FftOrder0NormalisedKernelSse2,        FftOrder1NormalisedKernelSse2,        FftForwardOrder2NormalisedKernelSse2,
    FftForwardOrder3NormalisedKernelSse2, FftForwardOrder4NormalisedKernelSse2, FftForwardOrder5NormalisedKernelSse2};
const FftPlainKernel kFftForwardPlainKernelsSse2[6] = {FftOrder0KernelSse2,        FftOrder1KernelSse2,
                                                       FftForwardOrder2KernelSse2, FftForwardOrder3KernelSse2,
                                                       FftForwardOrder4KernelSse2, FftForwardOrder5KernelSse2};
const FftNormalisedKernel kFftInverseNormalisedKernelsSse2[6] = {
    FftOrder0NormalisedKernelSse2,        FftOrder1NormalisedKernelSse2,        FftInverseOrder2NormalisedKernelSse2,
    FftInverseOrder3NormalisedKernelSse2, FftInverseOrder4NormalisedKernelSse2, FftInverseOrder5NormalisedKernelSse2};
const FftPlainKernel kFftInversePlainKernelsSse2[6] = {FftOrder0KernelSse2,        FftOrder1KernelSse2,
                                                       FftInverseOrder2KernelSse2, FftInverseOrder3KernelSse2,
                                                       FftInverseOrder4KernelSse2, FftInverseOrder5KernelSse2};

float* MakeSineTableSse2(int32_t order, float* table) {
  return lv_fft_build::MakeSineTable<lv_sse2::TableTag, SinFloat32StubSse2, CosFloat32StubSse2>(order, table);
}

int32_t* MakeBitReverseListSse2(int32_t order, int32_t* out) {
  return lv_fft_build::MakePairsList<lv_sse2::TableTag>(order, out);
}

float* ExpandRadix4TwiddlesSse2(int32_t n, const float* sine, int32_t b, float* out) {
  const int64_t quarter = (int64_t{1} << b) / 4;
  const int32_t shift = b - n;
  const int64_t groups = (int64_t{1} << n) / 4 + 1;
  for (int64_t j = 0; j < groups; ++j) {
    for (int64_t k = 1; k <= 3; ++k) {
      float* cell = out + 6 * j + 2 * (k - 1);
      lv_fft_build::QuarterWave<lv_sse2::TableTag>(sine, quarter, (k * j) << shift, cell, cell + 1);
    }
  }
  return lv_fft_build::AlignUp64<lv_sse2::TableTag>(out + 6 * groups);
}

// The list holds the pairs (4g, 4r) of groups g < r, one 0 standing for group
// 0, the other self-reversed groups, and a closing 0 at entry n/4. Both walks
// are bounded by the n/4 + 1 entries of the list, whatever it holds.
void BitReverseCopyScalarSse2(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list) {
  if (n < 8) {
    dst[0] = src[0];
    dst[n - 1] = src[n - 1];
    if (n > 2) {
      dst[2] = src[1];
      dst[1] = src[2];
    }
    return;
  }
  const int64_t h = n / 2;
  const int64_t entries = n / 4;
  int64_t k = 0;
  for (; k + 1 < entries && list[k] >= 2; k += 2) {
    const int64_t a = list[k] >> 1;
    const int64_t b = list[k + 1] >> 1;
    dst[b] = src[a];
    dst[b + 1] = src[h + a];
    dst[h + b] = src[a + 1];
    dst[h + b + 1] = src[h + a + 1];
    dst[a] = src[b];
    dst[a + 1] = src[h + b];
    dst[h + a] = src[b + 1];
    dst[h + a + 1] = src[h + b + 1];
  }
  for (int64_t first = k; k < entries && (k == first || list[k] >= 2); ++k) {
    const int64_t c = list[k] >> 1;
    dst[c] = src[c];
    dst[c + 1] = src[h + c];
    dst[h + c] = src[c + 1];
    dst[h + c + 1] = src[h + c + 1];
  }
}

void BitReverseInPlaceScalarSse2(ComplexFloat32* data, int32_t n, const int32_t* list) {
  if (n < 4) {
    return;
  }
  const int64_t h = n / 2;
  const int64_t entries = n / 4;
  int64_t k = 0;
  auto swap = [data](int64_t i, int64_t j) {
    const ComplexFloat32 t = data[i];
    data[i] = data[j];
    data[j] = t;
  };
  for (; k + 1 < entries && list[k] >= 2; k += 2) {
    const int64_t a = list[k] >> 1;
    const int64_t b = list[k + 1] >> 1;
    swap(a, b);
    swap(a + 1, h + b);
    swap(h + a, b + 1);
    swap(h + a + 1, h + b + 1);
  }
  for (int64_t first = k; k < entries && (k == first || list[k] >= 2); ++k) {
    const int64_t c = list[k] >> 1;
    swap(c + 1, h + c);
  }
}

void FftForwardRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles) {
  lv_sse2::Radix4Stages<false>(data, n, twiddles);
}
void FftInverseRadix4StagesSse2(ComplexFloat32* data, int32_t n, const float* twiddles) {
  lv_sse2::Radix4Stages<true>(data, n, twiddles);
}

// ---------------------------------------------------------------------------
// Entry points of the class.

int32_t FftGetSizeComplexFloat32Sse2(int32_t order, int32_t flag, int32_t /*hint*/, int32_t* specBytes,
                                     int32_t* initBytes, int32_t* workBytes) {
  using namespace lv_sse2;
  if (static_cast<uint32_t>(order) > 30) {
    return StatusFftBadOrder;
  }
  if (specBytes == nullptr || initBytes == nullptr || workBytes == nullptr) {
    return StatusNullPointer;
  }
  if (!ValidFlag(flag)) {
    return StatusFftBadFlag;
  }
  if (order > kFftLargestOrderSse2) {
    return StatusFftBadOrder;
  }
  const int64_t n = int64_t{1} << order;
  const int64_t sine = Align64(n + 4);
  int64_t spec = 208;
  int64_t init = 0;
  int64_t work = 0;
  if (order > kFftLeafLimitSse2) {
    int64_t s = 0;
    int64_t i = 0;
    int64_t w = 0;
    LargeOrderLevelSizes(order, &s, &i, &w);
    spec = s + sine + 256;
    init = sine + i + 64;
    work = w > 0 ? w + 64 : 0;
  } else if (order > kFftSmallOrderLimitSse2) {
    spec = Align64(8 * n + 8) + sine + 256;
  }
  *specBytes = static_cast<int32_t>(spec);
  *initBytes = static_cast<int32_t>(init);
  *workBytes = static_cast<int32_t>(work);
  return StatusOk;
}

int32_t FftInitComplexFloat32Sse2(FftSpecComplexFloat32** specOut, int32_t order, int32_t flag, int32_t hint,
                                  uint8_t* specMemory, uint8_t* initBuffer) {
  using namespace lv_sse2;
  if (specOut == nullptr) {
    return StatusNullPointer;
  }
  if (static_cast<uint32_t>(order) > 30 || order > kFftLargestOrderSse2) {
    return StatusFftBadOrder;
  }
  if (specMemory == nullptr) {
    return StatusNullPointer;
  }
  uint8_t* base = AlignUp(specMemory);
  VectorZeroFillUint8Sse2(base, kFftSpecHeaderBytes);
  auto* spec = reinterpret_cast<FftSpecComplexFloat32*>(base);
  spec->hint = hint;
  spec->order = order;
  spec->reserved = 0;
  const int64_t n = int64_t{1} << order;
  const float inverseN = 1.0f / static_cast<float>(n);
  switch (flag) {
    case kFftNoScale:
      break;
    case kFftScaleBoth:
      spec->forwardScale = 1;
      spec->inverseScale = 1;
      spec->scale = static_cast<float>(1.0 / ScalarSqrtFloat64Sse2(static_cast<double>(n)));
      break;
    case kFftScaleForward:
      spec->forwardScale = 1;
      spec->scale = inverseN;
      break;
    case kFftScaleInverse:
      spec->inverseScale = 1;
      spec->scale = inverseN;
      break;
    default:
      return StatusFftBadFlag;
  }
  // The identifier is set last: a specification whose initialisation failed
  // keeps identifier 0 and is refused by every transform.
  if (order <= kFftSmallOrderLimitSse2) {
    spec->workBytes = 0;
    spec->identifier = kFftSpecIdentifier;
    *specOut = spec;
    return StatusOk;
  }
  uint8_t* tables = base + kFftSpecHeaderBytes;
  if (order <= 10) {
    spec->swapList = tables;
    float* twiddles = reinterpret_cast<float*>(MakeBitReverseListSse2(order, reinterpret_cast<int32_t*>(tables)));
    spec->twiddles = twiddles;
    ExpandRadix4TwiddlesSse2(order, kFftQuarterSineOrder10, 10, twiddles);
    spec->workBytes = 0;
  } else {
    if (initBuffer == nullptr) {
      return StatusNullPointer;
    }
    float* sine = reinterpret_cast<float*>(AlignUp(initBuffer));
    uint8_t* scratch = reinterpret_cast<uint8_t*>(MakeSineTableSse2(order, sine));
    spec->swapList = tables;
    BuildLargeOrderPlan(spec, order, sine, order, reinterpret_cast<int32_t*>(tables), scratch);
  }
  spec->identifier = kFftSpecIdentifier;
  *specOut = spec;
  return StatusOk;
}

int32_t FftForwardComplexFloat32Sse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                     uint8_t* workBuffer) {
  return lv_sse2::Transform<false>(src, dst, spec, workBuffer);
}

int32_t FftInverseComplexFloat32Sse2(const ComplexFloat32* src, ComplexFloat32* dst, const FftSpecComplexFloat32* spec,
                                     uint8_t* workBuffer) {
  return lv_sse2::Transform<true>(src, dst, spec, workBuffer);
}
