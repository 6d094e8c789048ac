// Large-order forward and inverse drivers of class 6 (Avx512ManyCore), orders 19
// to 28; the class's forward and inverse roads do not take them yet.
#include <cstdint>

#include "fft/butterfly.h"
#include "fft/column_pass.h"
#include "fft/fft_setup.h"
#include "fft/large_order.h"
#include "fft/large_order_impl.h"
#include "platform/isa_class.h"
#include "primitives/arith/arith.h"
#include "primitives/copy/copy.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {

struct LargeClass {
  static const int32_t* Split() { return kFftOrderSplitAvx512ManyCore; }
  static const int32_t* ColumnBlock() { return kFftColumnBlockAvx512ManyCore; }
  static constexpr int32_t kLeafLimit = 18;
  static constexpr int32_t kBlockedThreshold = 19;
  static constexpr int32_t kTileCopyLast = 22;
  static constexpr int64_t kChunkBytes = 67108864;

  template <bool kInv>
  static void InPlace(ComplexFloat32* data, uint64_t n, const float* twiddles, uint8_t* work, int32_t last) {
    if constexpr (kInv) {
      FftInverseInPlaceKernelAvx512ManyCore(data, n, twiddles, work, last);
    } else {
      FftForwardInPlaceKernelAvx512ManyCore(data, n, twiddles, work, last);
    }
  }
  template <bool kInv>
  static void Radix8(float* block, int32_t h, int32_t l, const float* twiddles) {
    if constexpr (kInv) {
      FftInverseRadix8PassAvx512ManyCore(block, block, h, l, twiddles);
    } else {
      FftForwardRadix8PassAvx512ManyCore(block, block, h, l, twiddles);
    }
  }
  template <bool kInv>
  static void Radix4(float* block, int32_t h, int32_t l, const float* twiddles) {
    if constexpr (kInv) {
      FftInverseRadix4PassAvx512ManyCore(block, block, h, l, twiddles);
    } else {
      FftForwardRadix4PassAvx512ManyCore(block, block, h, l, twiddles);
    }
  }
  static void Gather(const ComplexFloat32* src, ComplexFloat32* dst, int32_t stride, int32_t rows, int32_t len) {
    TileGatherAvx512ManyCore(src, dst, stride, rows, len);
  }
  static void Scatter(ComplexFloat32* dst, const ComplexFloat32* src, int32_t stride, int32_t rows, int32_t len,
                      int32_t last) {
    TileScatterAvx512ManyCore(dst, src, stride, rows, len, last);
  }
  static void Tile(ComplexFloat32* data, int32_t n, const int32_t* list) { BitReverseTileAvx512ManyCore(data, n, list); }
  static void Copy(const ComplexFloat32* src, ComplexFloat32* dst, int32_t bytes) {
    VectorCopyUint8Avx512ManyCore(src, dst, bytes);
  }
  static void Scale(float s, float* data, int32_t count) { VectorMultiplyScalarInPlaceFloat32Avx512ManyCore(s, data, count); }
};

using Forward = ::lv_fft_large::LargeOrder<LargeClass, false>;
using Inverse = ::lv_fft_large::LargeOrder<LargeClass, true>;

}  // namespace
}  // namespace lv_avx512mc

void FftForwardLargeOrderAvx512ManyCore(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                              int32_t order, uint8_t* work) {
  lv_avx512mc::Forward::Run(spec, src, dst, order, work);
}

void FftInverseLargeOrderAvx512ManyCore(const FftSpecComplexFloat32* spec, const ComplexFloat32* src, ComplexFloat32* dst,
                              int32_t order, uint8_t* work) {
  lv_avx512mc::Inverse::Run(spec, src, dst, order, work);
}

void FftForwardLargeOrderLevelAvx512ManyCore(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                   int32_t depth, uint8_t* work) {
  lv_avx512mc::Forward::Level(spec, data, order, depth, work);
}

void FftInverseLargeOrderLevelAvx512ManyCore(const FftSpecComplexFloat32* spec, ComplexFloat32* data, int32_t order,
                                   int32_t depth, uint8_t* work) {
  lv_avx512mc::Inverse::Level(spec, data, order, depth, work);
}
