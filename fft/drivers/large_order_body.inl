// The large-order forward and inverse drivers of one vector class, exported at
// global scope. Include it from the class's file with:
//   LV_LO_SUFFIX       the class suffix of the exported and called names;
//   LV_LO_NS           the class namespace;
//   LV_LO_TILE_SUFFIX  the suffix of the tile gather and scatter the class uses;
// and optionally, where the class's limits differ from the defaults:
//   LV_LO_LEAF_LIMIT (18), LV_LO_BLOCKED_THRESHOLD (19), LV_LO_TILE_COPY_LAST (22),
//   LV_LO_CHUNK_BYTES (67108864);
//   LV_LO_PLAIN_REVERSAL, defined for the classes whose orders below the
//   blocked threshold reverse the whole array through the complete swap list.
// The driver template is instantiated inside the class namespace, so each
// instance is compiled with that class's instructions only.
#define LV_LO_PASTE(a, b) a##b
#define LV_LO_NAME2(a, b) LV_LO_PASTE(a, b)
#define LV_LO_NAME(base) LV_LO_NAME2(base, LV_LO_SUFFIX)
#define LV_LO_TILE_NAME(base) LV_LO_NAME2(base, LV_LO_TILE_SUFFIX)
#ifndef LV_LO_LEAF_LIMIT
#define LV_LO_LEAF_LIMIT 18
#endif
#ifndef LV_LO_BLOCKED_THRESHOLD
#define LV_LO_BLOCKED_THRESHOLD 19
#endif
#ifndef LV_LO_TILE_COPY_LAST
#define LV_LO_TILE_COPY_LAST 22
#endif
#ifndef LV_LO_CHUNK_BYTES
#define LV_LO_CHUNK_BYTES 67108864
#endif

namespace LV_LO_NS {
namespace {

struct LargeClass {
  static const int32_t* Split() { return LV_LO_NAME(kFftOrderSplit); }
  static const int32_t* ColumnBlock() { return LV_LO_NAME(kFftColumnBlock); }
  static constexpr int32_t kLeafLimit = LV_LO_LEAF_LIMIT;
  static constexpr int32_t kBlockedThreshold = LV_LO_BLOCKED_THRESHOLD;
  static constexpr int32_t kTileCopyLast = LV_LO_TILE_COPY_LAST;
  static constexpr int64_t kChunkBytes = LV_LO_CHUNK_BYTES;

  template <bool kInv>
  static void InPlace(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work, int32_t last) {
    if constexpr (kInv) {
      LV_LO_NAME(FftInverseInPlaceKernel)(data, n, twiddles, work, last);
    } else {
      LV_LO_NAME(FftForwardInPlaceKernel)(data, n, twiddles, work, last);
    }
  }
  template <bool kInv>
  static void Radix8(float* block, int32_t h, int32_t l, const float* twiddles) {
    if constexpr (kInv) {
      LV_LO_NAME(FftInverseRadix8Pass)(block, block, h, l, twiddles);
    } else {
      LV_LO_NAME(FftForwardRadix8Pass)(block, block, h, l, twiddles);
    }
  }
  template <bool kInv>
  static void Radix4(float* block, int32_t h, int32_t l, const float* twiddles) {
    if constexpr (kInv) {
      LV_LO_NAME(FftInverseRadix4Pass)(block, block, h, l, twiddles);
    } else {
      LV_LO_NAME(FftForwardRadix4Pass)(block, block, h, l, twiddles);
    }
  }
  static void Gather(const ComplexFloat32* src, ComplexFloat32* dst, int32_t stride, int32_t rows, int32_t len) {
    LV_LO_TILE_NAME(TileGather)(src, dst, stride, rows, len);
  }
  static void Scatter(ComplexFloat32* dst, const ComplexFloat32* src, int32_t stride, int32_t rows, int32_t len,
                      int32_t last) {
    LV_LO_TILE_NAME(TileScatter)(dst, src, stride, rows, len, last);
  }
  static void Tile(ComplexFloat32* data, int32_t n, const int32_t* list) { LV_LO_NAME(BitReverseTile)(data, n, list); }
  static void Copy(const ComplexFloat32* src, ComplexFloat32* dst, int32_t bytes) {
    LV_LO_NAME(VectorCopyUint8)(src, dst, bytes);
  }
  static void Scale(float s, float* data, int32_t count) { LV_LO_NAME(VectorMultiplyScalarInPlaceFloat32)(s, data, count); }
#ifdef LV_LO_PLAIN_REVERSAL
  static void ReverseInPlace(ComplexFloat32* data, int32_t n, const int32_t* list) {
    LV_LO_NAME(BitReverseInPlace)(data, n, list);
  }
  static void ReverseCopy(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list) {
    LV_LO_NAME(BitReverseCopy)(src, dst, n, list);
  }
#endif
};

using Forward = ::lv_fft_large::LargeOrder<LargeClass, false>;
using Inverse = ::lv_fft_large::LargeOrder<LargeClass, true>;

}  // namespace
}  // namespace LV_LO_NS

void LV_LO_NAME(FftForwardLargeOrder)(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                                      int32_t order, uint8_t* work) {
  LV_LO_NS::Forward::Run(spec, src, dst, order, work);
}

void LV_LO_NAME(FftInverseLargeOrder)(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                                      int32_t order, uint8_t* work) {
  LV_LO_NS::Inverse::Run(spec, src, dst, order, work);
}

void LV_LO_NAME(FftForwardLargeOrderLevel)(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                           int32_t depth, uint8_t* work) {
  LV_LO_NS::Forward::Level(spec, data, order, depth, work);
}

void LV_LO_NAME(FftInverseLargeOrderLevel)(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                           int32_t depth, uint8_t* work) {
  LV_LO_NS::Inverse::Level(spec, data, order, depth, work);
}

#undef LV_LO_PLAIN_REVERSAL
#undef LV_LO_CHUNK_BYTES
#undef LV_LO_TILE_COPY_LAST
#undef LV_LO_BLOCKED_THRESHOLD
#undef LV_LO_LEAF_LIMIT
#undef LV_LO_TILE_NAME
#undef LV_LO_NAME
#undef LV_LO_NAME2
#undef LV_LO_PASTE
