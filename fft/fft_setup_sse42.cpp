// FFT set-up of processor class 3 (SSE4.2): size query, initialisation, table
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

LV_ASSERT_CLASS(3);

const int32_t kFftOrderSplitSse42[31] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8};
const int32_t kFftColumnBlockSse42[31] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10, 10, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14};

namespace lv_sse42 {
namespace {

struct FftClass {
  static constexpr int32_t kSmallLimit = 5;
  static constexpr int32_t kLeafLimit = 17;
  static constexpr int32_t kLargest = 28;
  static constexpr int32_t kBlockedThreshold = 19;
  static constexpr int kV = 4;
  static constexpr int kRule = 2;
  static constexpr bool kManyCore = false;
  static const int32_t* Split() { return kFftOrderSplitSse42; }
  static const int32_t* ColumnBlock() { return kFftColumnBlockSse42; }
  static int32_t Sin(const float* s, float* d, int32_t n) { return SinFloat32StubSse42(s, d, n); }
  static int32_t Cos(const float* s, float* d, int32_t n) { return CosFloat32StubSse42(s, d, n); }
  static void ZeroFill(void* p, int32_t n) { VectorZeroFillUint8Sse42(p, n); }
  static float InverseN(int32_t order) { return 1.0f / static_cast<float>(int64_t{1} << order); }
  static float InverseSqrtN(int32_t order) {
    return static_cast<float>(1.0 / ScalarSqrtFloat64Sse42(static_cast<double>(int64_t{1} << order)));
  }
};

using Setup = ::lv_fft_setup::Setup<FftClass>;
using Permute = ::lv_fft_permute::Permute128<FftClass>;

}  // namespace
}  // namespace lv_sse42

int32_t FftGetSizeComplexFloat32Sse42(int32_t order, int32_t flag, int32_t hint, int32_t* specBytes,
                                        int32_t* initBytes, int32_t* workBytes) {
  return lv_sse42::Setup::GetSize(order, flag, hint, specBytes, initBytes, workBytes);
}

int32_t FftInitComplexFloat32Sse42(FftSpecComplexFloat32** spec, int32_t order, int32_t flag, int32_t hint,
                                     uint8_t* specMemory, uint8_t* initBuffer) {
  return lv_sse42::Setup::Init(spec, order, flag, hint, specMemory, initBuffer);
}

void* MakeSineTableSse42(int32_t order, float* table) { return lv_sse42::Setup::MakeSineTable(order, table); }

void* ExpandRadix4TwiddlesSse42(int32_t n, const float* sine, int32_t b, float* out) {
  return lv_sse42::Setup::ExpandRadix4Twiddles(n, sine, b, out);
}

void* MakeBitReverseListSse42(int32_t n, int32_t* out) { return lv_sse42::Setup::MakeBitReverseList(n, out); }

void* MakeTileBitReverseListSse42(int32_t n, int32_t* out) { return lv_sse42::Setup::MakeTileBitReverseList(n, out); }

void* MakeBlockedBitReverseListSse42(int32_t n, int32_t t, int32_t* out) {
  return lv_sse42::Setup::MakeBlockedBitReverseList(n, t, out);
}

void* BuildLargeOrderPlanSse42(FftSpecComplexFloat32* spec, int32_t order, const float* sine, int32_t a,
                                 int32_t* list, uint8_t* scratch) {
  return lv_sse42::Setup::BuildLargeOrderPlan(spec, order, sine, a, list, scratch);
}

void BitReverseTileSse42(ComplexFloat32* data, int32_t n, const int32_t* list) {
  lv_sse42::Permute::Tile(data, n, list);
}

void BitReverseInPlaceSse42(ComplexFloat32* data, int32_t n, const int32_t* list) {
  lv_sse42::Permute::InPlace(data, n, list);
}

void BitReverseCopySse42(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n, const int32_t* list) {
  lv_sse42::Permute::Copy(src, dst, n, list);
}

void TileGatherSse42(const ComplexFloat32* src, ComplexFloat32* dst, int32_t rowStride, int32_t rowCount,
                       int32_t rowLength) {
  lv_sse42::Permute::Gather(src, dst, rowStride, rowCount, rowLength);
}

void TileScatterSse42(ComplexFloat32* dst, const ComplexFloat32* src, int32_t rowStride, int32_t rowCount,
                        int32_t rowLength, int32_t last) {
  lv_sse42::Permute::Scatter(dst, src, rowStride, rowCount, rowLength, last);
}
