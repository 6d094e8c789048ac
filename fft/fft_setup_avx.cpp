// FFT set-up of processor class 4 (AVX): size query, initialisation, table
// builders, split tables and permutations.
#include <immintrin.h>

#include <cstdint>

#include "fft/fft_permute_impl.h"
#include "fft/fft_setup.h"
#include "fft/fft_setup_impl.h"
#include "cpu/isa_class.h"
#include "primitives/sqrt/sqrt_classes.h"
#include "primitives/zerofill/zerofill_classes.h"
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
  LV_FFT_SETUP_CLASS_ROUTINES(Avx)
  LV_FFT_SETUP_DIVIDED_SCALES(Avx)
};

using Tile = ::lv_fft_permute::Tile256<FftClass>;

}  // namespace
}  // namespace lv_avx

#define LV_FS_SUFFIX Avx
#define LV_FS_NS lv_avx
#define LV_FS_ROW_COPY Tile
#include "fft/fft_setup_class.inl"
