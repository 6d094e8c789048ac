// FFT set-up of processor class 1 (SSE3): size query, initialisation, table
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

LV_ASSERT_CLASS(1);

const int32_t kFftOrderSplitSse3[31] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 4, 4, 6, 8, 8, 8, 8, 8, 8, 8, 8, 8};
const int32_t kFftColumnBlockSse3[31] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 10, 10, 10, 13, 15, 15, 15, 15, 15, 15, 15, 15, 15};

namespace lv_sse3 {
namespace {

struct FftClass {
  static constexpr int32_t kSmallLimit = 5;
  static constexpr int32_t kLeafLimit = 16;
  static constexpr int32_t kLargest = 28;
  static constexpr int32_t kBlockedThreshold = 20;
  static constexpr int kV = 4;
  static constexpr int kRule = 1;
  static constexpr bool kManyCore = false;
  LV_FFT_SETUP_CLASS_ROUTINES(Sse3)
  LV_FFT_SETUP_DIVIDED_SCALES(Sse3)
};

using RowCopy = ::lv_fft_permute::Permute128<FftClass>;

}  // namespace
}  // namespace lv_sse3

#define LV_FS_SUFFIX Sse3
#define LV_FS_NS lv_sse3
#define LV_FS_ROW_COPY RowCopy
#define LV_FS_BIT_REVERSE_COPY
#include "fft/fft_setup_class.inl"
