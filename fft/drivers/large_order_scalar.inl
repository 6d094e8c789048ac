// The large-order driver of class 0 (included by large_order_body.inl),
// orders 11 to 27: one bit reversal of the whole array, then 2^n rows of at
// most 1024 points (or 2048/4096-point rows made of 1024-point blocks joined by
// radix-2 combine passes), then column transforms of 2^n points, four columns
// at a time through the work buffer, with one more level of the same split for
// orders 23 to 27 (split table kFftOrderSplitSse2). Every value is scaled
// exactly once, on its leaf (a row, or a 1024-point block). The butterflies
// are the class-0 kernels (fft/kernels/butterfly.h).

namespace LV_NS {
namespace {

constexpr FftClassRow kRow = kFftClasses[kClass];

#include "fft/kernels/complex_scalar.inl"

// The class-0 butterflies by direction.
template <bool Inv>
void Radix4Stages(Cx* x, int64_t n, const float* twiddles) {
  (Inv ? FftInverseRadix4StagesSse2 : FftForwardRadix4StagesSse2)(x, static_cast<int32_t>(n), twiddles);
}
template <bool Inv>
void CombinePass(Cx* data, int64_t m, int64_t b0, const void* table) {
  (Inv ? FftInverseCombinePassSse2 : FftForwardCombinePassSse2)(data, static_cast<int32_t>(m), static_cast<int32_t>(b0),
                                                                static_cast<const float*>(table));
}

template <bool Inv>
void ScaleLeaf(const FftSpecComplexFloat32* spec, Cx* data, int64_t points) {
  if ((Inv ? spec->inverseScale : spec->forwardScale) != 0) {
    LV_NAME(VectorMultiplyScalarInPlaceFloat32)(spec->scale, reinterpret_cast<float*>(data), static_cast<int32_t>(2 * points));
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
  CombinePass<Inv>(p, m, 1024, spec->combineTable);
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

// The driver: one bit reversal of the whole array, then the level (or, at
// orders 11 and 12, the combine-pass leaf).
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

}  // namespace
}  // namespace LV_NS

void LV_NAME(FftForwardLargeOrder)(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                                   int32_t order, ComplexFloat32* work) {
  LV_NS::LargeOrder<false>(spec, src, dst, order, work);
}
void LV_NAME(FftInverseLargeOrder)(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                                   int32_t order, ComplexFloat32* work) {
  LV_NS::LargeOrder<true>(spec, src, dst, order, work);
}
void LV_NAME(FftForwardLargeOrderLevel)(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                        int32_t depth, ComplexFloat32* work) {
  LV_NS::LargeOrderLevel<false>(spec, data, order, depth, work);
}
void LV_NAME(FftInverseLargeOrderLevel)(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                        int32_t depth, ComplexFloat32* work) {
  LV_NS::LargeOrderLevel<true>(spec, data, order, depth, work);
}
