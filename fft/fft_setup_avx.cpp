// FFT set-up of processor class 4 (AVX): size query, initialisation, table
// builders, split tables and permutations.
#include <immintrin.h>

#include <cstdint>

#include "fft/fft_permute_impl.h"
#include "fft/fft_setup.h"
#include "fft/fft_setup_impl.h"
#include "platform/isa_class.h"
#include "primitives/sqrt/sqrt.h"
#include "primitives/zerofill/zerofill.h"
#include "vmath/sincos/sincos.h"

LV_ASSERT_CLASS(4);

const int32_t kFftOrderSplitAvx[31] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8};
const int32_t kFftColumnBlockAvx[31] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 10, 10, 10, 14, 14, 14, 14, 14, 14, 14, 14};

namespace lv_avx {
namespace {

struct FftClass {
  static constexpr int32_t kSmallLimit = 6;
  static constexpr int32_t kLeafLimit = 18;
  static constexpr int32_t kLargest = 28;
  static constexpr int32_t kBlockedThreshold = 19;
  static constexpr int kV = 8;
  static constexpr int kRule = 4;
  static constexpr bool kManyCore = false;
  static const int32_t* Split() { return kFftOrderSplitAvx; }
  static const int32_t* ColumnBlock() { return kFftColumnBlockAvx; }
  static int32_t Sin(const float* s, float* d, int32_t n) { return SinFloat32StubAvx(s, d, n); }
  static int32_t Cos(const float* s, float* d, int32_t n) { return CosFloat32StubAvx(s, d, n); }
  static void ZeroFill(void* p, int32_t n) { VectorZeroFillUint8Avx(p, n); }
  static float InverseN(int32_t order) { return 1.0f / static_cast<float>(int64_t{1} << order); }
  static float InverseSqrtN(int32_t order) {
    return static_cast<float>(1.0 / ScalarSqrtFloat64Avx(static_cast<double>(int64_t{1} << order)));
  }
};

using Setup = ::lv_fft_setup::Setup<FftClass>;
using Permute = ::lv_fft_permute::Permute128<FftClass>;
using Tile = ::lv_fft_permute::Tile256<FftClass>;

}  // namespace
}  // namespace lv_avx

int32_t FftGetSizeComplexFloat32Avx(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes,
                                        int32_t* initBytes, int32_t* workBytes) {
  return lv_avx::Setup::GetSize(order, flag, hint, specBytes, initBytes, workBytes);
}

int32_t FftInitComplexFloat32Avx(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,
                                     uint8_t* specMemory, uint8_t* initBuffer) {
  return lv_avx::Setup::Init(spec, order, flag, hint, specMemory, initBuffer);
}

void* MakeSineTableAvx(int32_t order, float* table) { return lv_avx::Setup::MakeSineTable(order, table); }

void* ExpandRadix4TwiddlesAvx(int32_t n, const float* sine, int32_t b, float* out) {
  return lv_avx::Setup::ExpandRadix4Twiddles(n, sine, b, out);
}

void* MakeBitReverseListAvx(int32_t n, int32_t* out) { return lv_avx::Setup::MakeBitReverseList(n, out); }

void* MakeTileBitReverseListAvx(int32_t n, int32_t* out) { return lv_avx::Setup::MakeTileBitReverseList(n, out); }

void* MakeBlockedBitReverseListAvx(int32_t n, int32_t t, int32_t* out) {
  return lv_avx::Setup::MakeBlockedBitReverseList(n, t, out);
}

void* BuildLargeOrderPlanAvx(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t a,
                                 int32_t* list, uint8_t* scratch) {
  return lv_avx::Setup::BuildLargeOrderPlan(spec, order, sine, a, list, scratch);
}

void BitReverseTileAvx(ComplexFloat32* data, int32_t n, const int32_t* list) {
  lv_avx::Permute::Tile(data, n, list);
}

void TileGatherAvx(const ComplexFloat32* src, ComplexFloat32* dst, int32_t rowStride, int32_t rowCount,
                       int32_t rowLength) {
  lv_avx::Tile::Gather(src, dst, rowStride, rowCount, rowLength);
}

void TileScatterAvx(ComplexFloat32* dst, const ComplexFloat32* src, int32_t rowStride, int32_t rowCount,
                        int32_t rowLength, int32_t last) {
  lv_avx::Tile::Scatter(dst, src, rowStride, rowCount, rowLength, last);
}
