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

#include <cstddef>
#include <cstdint>

#include "fft/fft.h"
#include "fft/setup/fft_spec.h"
#include "fft/fft_class_table.h"
#include "fft/fft_classes.h"
#include "fft/kernels/butterfly.h"
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

// The class-0 butterflies (fft/kernels/butterfly.h) by direction.
template <bool Inv>
void Radix4Stages(Cx* x, int64_t n, const float* twiddles) {
  (Inv ? FftInverseRadix4StagesSse2 : FftForwardRadix4StagesSse2)(x, static_cast<int32_t>(n), twiddles);
}
template <bool Inv>
void CombinePass(Cx* data, int64_t m, int64_t b0, const Cx* table) {
  (Inv ? FftInverseCombinePassSse2 : FftForwardCombinePassSse2)(data, static_cast<int32_t>(m), static_cast<int32_t>(b0),
                                                                reinterpret_cast<const float*>(table));
}

// ---------------------------------------------------------------------------
// Large orders.

template <bool Inv>
void ScaleLeaf(const FftSpecComplexFloat32* spec, Cx* data, int64_t points) {
  if ((Inv ? spec->inverseScale : spec->forwardScale) != 0) {
    VectorMultiplyScalarInPlaceFloat32Sse2(spec->scale, reinterpret_cast<float*>(data), static_cast<int32_t>(2 * points));
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
