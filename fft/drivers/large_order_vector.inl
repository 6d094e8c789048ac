// The large-order drivers of classes 1 to 7, forward and inverse (included by
// large_order_body.inl inside the class namespace). The template LargeOrder
// takes a K, written once below from the class table, that names the class's
// routines and constants:
//   K::Split(), K::ColumnBlock()   outer order n and column block order T;
//   K::kLeafLimit                  inner orders above it recurse one level;
//   K::kBlockedThreshold           first order of the blocked swap list;
//   K::kTileCopyLast               last order whose out-of-place reversal
//                                  moves tiles straight from the source;
//   K::kChunkBytes                 copy chunk of the larger orders;
//   K::InPlace<kInv>(data, n, twiddles, work, last), K::Radix8<kInv>,
//   K::Radix4<kInv>(block, h, l, twiddles), K::Gather, K::Scatter, K::Tile,
//   K::Copy, K::Scale; K::kWholeArrayReversal, and for such a class
//   K::ReverseInPlace(data, n, list) and K::ReverseCopy(src, dst, n, list),
//   the whole-array reversal through the complete swap list that it runs
//   below kBlockedThreshold.
//
// One transform of N = 2^order points (order >= kBlockedThreshold):
// 1. bit reversal into the destination: 64 x 64-point tiles through the two
//    32 KB halves of the work buffer (in place, or straight from the source
//    up to kTileCopyLast; above, the source is first copied in chunks);
// 2. the 2^n inner transforms of c = 2^(order - n) points (rows), each by the
//    in-place kernel left in the grouped layout and scaled right after it when
//    the direction's scale flag is set, or by one level of the same scheme;
// 3. column blocks of 2^n rows x e = 2^(T - n) columns gathered into the work
//    buffer, run through the radix-8/radix-4 passes with the column-pass
//    twiddles of the level's depth read front to back, and scattered back
//    (as interleaved points at depth 0, grouped below it).

namespace LV_NS {
namespace {

constexpr FftClassRow kRow = kFftClasses[kClass];
constexpr FftTileGatherFn kTileGather = kFftTileGatherOf[kRow.tileMoveClass];
constexpr FftTileScatterFn kTileScatter = kFftTileScatterOf[kRow.tileMoveClass];
static_assert(kFftHasTileMoves[kRow.tileMoveClass], "the class table names no tile moves");
// The class's own kernels and passes: class 6's names forward to class 5's.
static_assert(kRow.butterflyClass == kClass || kRow.butterflyClass == kClassAvx2);
// Classes 1 to 3 reverse the whole array below the blocked threshold.
static_assert(kRow.wholeArrayReversal == (LV_CLASS <= 3));

struct LargeClass {
  static constexpr int32_t kLeafLimit = kRow.leafLimit;
  static constexpr int32_t kBlockedThreshold = kRow.blockedThreshold;
  static constexpr int32_t kTileCopyLast = kRow.tileCopyLast;
  static constexpr int64_t kChunkBytes = kRow.copyChunkBytes;
  static constexpr bool kWholeArrayReversal = kRow.wholeArrayReversal;
  static const int32_t* Split() { return LV_NAME(kFftOrderSplit); }
  static const int32_t* ColumnBlock() { return LV_NAME(kFftColumnBlock); }

  template <bool kInv>
  static void InPlace(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work, int32_t last) {
    if constexpr (kInv) {
      LV_NAME(FftInverseInPlaceKernel)(data, n, twiddles, work, last);
    } else {
      LV_NAME(FftForwardInPlaceKernel)(data, n, twiddles, work, last);
    }
  }
  template <bool kInv>
  static void Radix8(float* block, int32_t h, int32_t l, const float* twiddles) {
    if constexpr (kInv) {
      LV_NAME(FftInverseRadix8Pass)(block, block, h, l, twiddles);
    } else {
      LV_NAME(FftForwardRadix8Pass)(block, block, h, l, twiddles);
    }
  }
  template <bool kInv>
  static void Radix4(float* block, int32_t h, int32_t l, const float* twiddles) {
    if constexpr (kInv) {
      LV_NAME(FftInverseRadix4Pass)(block, block, h, l, twiddles);
    } else {
      LV_NAME(FftForwardRadix4Pass)(block, block, h, l, twiddles);
    }
  }
  static void Gather(const ComplexFloat32* src, ComplexFloat32* dst, int32_t stride, int32_t rows, int32_t len) {
    kTileGather(src, dst, stride, rows, len);
  }
  static void Scatter(ComplexFloat32* dst, const ComplexFloat32* src, int32_t stride, int32_t rows, int32_t len,
                      int32_t last) {
    kTileScatter(dst, src, stride, rows, len, last);
  }
  static void Tile(ComplexFloat32* data, int32_t n, const int32_t* list) { LV_NAME(BitReverseTile)(data, n, list); }
  static void Copy(const ComplexFloat32* src, ComplexFloat32* dst, int32_t bytes) {
    LV_NAME(VectorCopyUint8)(src, dst, bytes);
  }
  static void Scale(float s, float* data, int32_t count) { LV_NAME(VectorMultiplyScalarInPlaceFloat32)(s, data, count); }
#if LV_CLASS <= 3
  static void ReverseInPlace(ComplexFloat32* data, int32_t n, const int32_t* list) {
    LV_NAME(BitReverseInPlace)(data, n, list);
  }
  static void ReverseCopy(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list) {
    LV_NAME(BitReverseCopy)(src, dst, n, list);
  }
#endif
};

template <class K, bool kInv>
struct LargeOrder {
  // Steps 2 and 3 on data (already bit-reversed) of the given order.
  static void Level(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order, int32_t depth,
                    uint8_t* work) {
    const int32_t n = K::Split()[order];
    const int32_t t = K::ColumnBlock()[order];
    const int32_t inner = order - n;
    const int64_t c = int64_t{1} << inner;
    const int64_t e = int64_t{1} << (t - n);
    const int32_t rows = 1 << n;
    const bool scaled = (kInv ? spec->inverseScale : spec->forwardScale) != 0;
    const float* leafTwiddles = static_cast<const float*>(spec->twiddles);
    for (int32_t i = 0; i < rows; ++i) {
      ComplexFloat32* row = data + i * c;
      if (inner > K::kLeafLimit) {
        Level(spec, row, inner, depth + 1, work);
      } else {
        K::template InPlace<kInv>(row, static_cast<uint64_t>(c), leafTwiddles, work, 0);
        if (scaled) K::Scale(spec->scale, &row->re, static_cast<int32_t>(2 * c));
      }
    }
    const float* cursor = static_cast<const float*>(spec->columnTables[depth]);
    auto* block = reinterpret_cast<ComplexFloat32*>(work);
    float* blockFloats = &block->re;
    const int32_t last = depth == 0 ? 1 : 0;
    for (int64_t f = 0; f < c; f += e) {
      K::Gather(data + f, block, static_cast<int32_t>(c), rows, static_cast<int32_t>(e));
      int32_t h = static_cast<int32_t>(e);
      int32_t l = rows;
      for (int32_t done = 0; done < n;) {
        const int32_t left = n - done;
        if (left == 2 || left == 4 || left == 6) {
          l /= 4;
          K::template Radix4<kInv>(blockFloats, h, l, cursor);
          cursor += (l == 1 ? 2 : 6) * int64_t{h};
          h *= 4;
          done += 2;
        } else {
          l /= 8;
          K::template Radix8<kInv>(blockFloats, h, l, cursor);
          cursor += 14 * int64_t{h};
          h *= 8;
          done += 3;
        }
      }
      K::Scatter(data + f, block, static_cast<int32_t>(c), rows, static_cast<int32_t>(e), last);
    }
  }

  // The tiles of dst exchanged with their partners and reversed inside.
  static void BlockedInPlace(ComplexFloat32* dst, int64_t points, const int32_t* partners, const int32_t* tileList,
                             uint8_t* work) {
    auto* a = reinterpret_cast<ComplexFloat32*>(work);
    auto* b = reinterpret_cast<ComplexFloat32*>(work + 32768);
    const int32_t stride = static_cast<int32_t>(points / 64);
    const int64_t tiles = points / 4096;
    for (int64_t k = 0; k < tiles; ++k) {
      const int64_t self = 64 * k;
      const int64_t partner = partners[k];
      if (self < partner) {
        K::Gather(dst + self, a, stride, 64, 64);
        K::Tile(a, 4096, tileList);
        K::Gather(dst + partner, b, stride, 64, 64);
        K::Tile(b, 4096, tileList);
        K::Scatter(dst + partner, a, stride, 64, 64, 0);
        K::Scatter(dst + self, b, stride, 64, 64, 0);
      } else if (self == partner) {
        K::Gather(dst + self, a, stride, 64, 64);
        K::Tile(a, 4096, tileList);
        K::Scatter(dst + self, a, stride, 64, 64, 0);
      }
    }
  }

  static void Run(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst, int32_t order,
                  uint8_t* work) {
    static_assert(K::kChunkBytes % 8 == 0);
    const int64_t points = int64_t{1} << order;
    if constexpr (K::kWholeArrayReversal) {
      if (order < K::kBlockedThreshold) {
        const auto* list = static_cast<const int32_t*>(spec->swapList);
        if (src == dst) {
          K::ReverseInPlace(dst, static_cast<int32_t>(points), list);
        } else {
          K::ReverseCopy(src, dst, static_cast<int32_t>(points), list);
        }
        Level(spec, dst, order, 0, work);
        return;
      }
    }
    const auto* partners = static_cast<const int32_t*>(spec->swapList);
    const int32_t* tileList = partners + points / 4096;
    if (src == dst) {
      BlockedInPlace(dst, points, partners, tileList, work);
    } else if (order <= K::kTileCopyLast) {
      auto* a = reinterpret_cast<ComplexFloat32*>(work);
      const int32_t stride = static_cast<int32_t>(points / 64);
      for (int64_t k = 0; k < points / 4096; ++k) {
        K::Gather(src + partners[k], a, stride, 64, 64);
        K::Tile(a, 4096, tileList);
        K::Scatter(dst + 64 * k, a, stride, 64, 64, 0);
      }
    } else {
      constexpr int64_t kChunkPoints = K::kChunkBytes / 8;
      for (int64_t i = 0; i * kChunkPoints < points; ++i) {
        K::Copy(src + i * kChunkPoints, dst + i * kChunkPoints, static_cast<int32_t>(K::kChunkBytes));
      }
      BlockedInPlace(dst, points, partners, tileList, work);
    }
    Level(spec, dst, order, 0, work);
  }
};

using Forward = LargeOrder<LargeClass, false>;
using Inverse = LargeOrder<LargeClass, true>;

}  // namespace
}  // namespace LV_NS

void LV_NAME(FftForwardLargeOrder)(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                                   int32_t order, uint8_t* work) {
  LV_NS::Forward::Run(spec, src, dst, order, work);
}

void LV_NAME(FftInverseLargeOrder)(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                                   int32_t order, uint8_t* work) {
  LV_NS::Inverse::Run(spec, src, dst, order, work);
}

void LV_NAME(FftForwardLargeOrderLevel)(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                        int32_t depth, uint8_t* work) {
  LV_NS::Forward::Level(spec, data, order, depth, work);
}

void LV_NAME(FftInverseLargeOrderLevel)(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                        int32_t depth, uint8_t* work) {
  LV_NS::Inverse::Level(spec, data, order, depth, work);
}
