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

// ---- tiled bit reversal of the whole array ----
//
// An index of `order` bits splits into a high part a and a low part b of
// kTileBits bits each and the middle m between them; its reversal is
// (rev b, rev m, rev a). For one m, the 2^kTileBits runs of 2^kTileBits
// consecutive points at (a, m, *) land in the runs (rev b, rev m, *), so a tile
// of 2^(2 kTileBits) points moves whole cache lines both ways instead of
// single points scattered over the array (the swap list's walk touches each
// line of a large array several times, far apart). Same permutation, same
// values.
constexpr int32_t kTileBits = 3;
constexpr int64_t kTileSide = int64_t{1} << kTileBits;

// rev over kTileBits bits.
constexpr int64_t ReverseTileIndex(int64_t v) {
  int64_t r = 0;
  for (int32_t i = 0; i < kTileBits; ++i) r |= ((v >> i) & 1) << (kTileBits - 1 - i);
  return r;
}

// The next value of a counter that counts in reversed order over `bits` bits:
// the reversal of k + 1, given m = the reversal of k.
inline int64_t NextReversed(int64_t m, int32_t bits) {
  int64_t bit = int64_t{1} << (bits - 1);
  while (bit != 0 && (m & bit) != 0) {
    m ^= bit;
    bit >>= 1;
  }
  return m | bit;
}

// The tile (a, m, b) of src into tile, row a holding the run at (a, m, *).
inline void LoadTile(const Cx* src, int64_t high, int64_t m, Cx (*tile)[kTileSide]) {
  for (int64_t a = 0; a < kTileSide; ++a) {
    const Cx* run = src + a * high + m * kTileSide;
    for (int64_t b = 0; b < kTileSide; ++b) tile[a][b] = run[b];
  }
}

// The tile's points to their reversed places, whose middle part is mr.
inline void StoreTileReversed(const Cx (*tile)[kTileSide], Cx* dst, int64_t high, int64_t mr) {
  for (int64_t b = 0; b < kTileSide; ++b) {
    Cx* run = dst + ReverseTileIndex(b) * high + mr * kTileSide;
    for (int64_t a = 0; a < kTileSide; ++a) run[ReverseTileIndex(a)] = tile[a][b];
  }
}

// dst[rev(i)] = src[i] for the 2^order points, order >= 2 kTileBits; src and
// dst disjoint. The destination's middle parts run in order, so its runs are
// written one after another.
void TiledBitReverseCopy(const Cx* src, Cx* dst, int32_t order) {
  const int32_t middleBits = order - 2 * kTileBits;
  const int64_t middles = int64_t{1} << middleBits;
  const int64_t high = int64_t{1} << (order - kTileBits);
  Cx tile[kTileSide][kTileSide];
  int64_t m = 0;  // reversal of mr
  for (int64_t mr = 0; mr < middles; ++mr) {
    LoadTile(src, high, m, tile);
    StoreTileReversed(tile, dst, high, mr);
    if (middleBits > 0) m = NextReversed(m, middleBits);
  }
}

// The same in place: the tiles of m and rev m trade places (a tile whose
// middle part is its own reversal is reversed within itself).
void TiledBitReverseInPlace(Cx* data, int32_t order) {
  const int32_t middleBits = order - 2 * kTileBits;
  const int64_t middles = int64_t{1} << middleBits;
  const int64_t high = int64_t{1} << (order - kTileBits);
  Cx first[kTileSide][kTileSide];
  Cx second[kTileSide][kTileSide];
  int64_t mr = 0;  // reversal of m
  for (int64_t m = 0; m < middles; ++m) {
    if (m == mr) {
      LoadTile(data, high, m, first);
      StoreTileReversed(first, data, high, m);
    } else if (m < mr) {
      LoadTile(data, high, m, first);
      LoadTile(data, high, mr, second);
      StoreTileReversed(first, data, high, mr);
      StoreTileReversed(second, data, high, m);
    }
    if (middleBits > 0) mr = NextReversed(mr, middleBits);
  }
}

// The driver: one bit reversal of the whole array (tiled), then the level
// (or, at orders 11 and 12, the combine-pass leaf).
template <bool Inv>
void LargeOrder(const FftSpecComplexFloat32* spec, const Cx* src, Cx* dst, int32_t order, Cx* work) {
  static_assert(2 * kTileBits <= 11, "the large orders start at 11");
  if (src != dst) {
    TiledBitReverseCopy(src, dst, order);
  } else {
    TiledBitReverseInPlace(dst, order);
  }
  const int32_t points = int32_t{1} << order;
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
