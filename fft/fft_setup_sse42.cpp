// FFT set-up of processor class 3 (SSE4.2): size query, initialisation, table
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
  LV_FFT_SETUP_CLASS_ROUTINES(Sse42)
  LV_FFT_SETUP_DIVIDED_SCALES(Sse42)
};

using RowCopy = ::lv_fft_permute::Permute128<FftClass>;

}  // namespace
}  // namespace lv_sse42

#define LV_FS_SUFFIX Sse42
#define LV_FS_NS lv_sse42
#define LV_FS_ROW_COPY RowCopy
#define LV_FS_BIT_REVERSE_COPY
#include "fft/fft_setup_class.inl"
