// Column passes of class 3 (groups of 4, separate products and sums).
#include <cstdint>

#include "fft/column_pass.h"
#include "fft/column_pass_impl.h"
#include "platform/isa_class.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
namespace {

struct ColumnClass {
  static constexpr int kWidth = 4;
  static constexpr bool kFused = false;
};

using Passes = ::lv_fft_colpass::ColumnPasses<ColumnClass>;

}  // namespace
}  // namespace lv_sse42

void FftForwardRadix8PassSse42(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_sse42::Passes::Radix8<false>(data, h, l, twiddles);
}

void FftForwardRadix4PassSse42(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_sse42::Passes::Radix4<false>(data, h, l, twiddles);
}

void FftInverseRadix8PassSse42(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_sse42::Passes::Radix8<true>(data, h, l, twiddles);
}

void FftInverseRadix4PassSse42(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_sse42::Passes::Radix4<true>(data, h, l, twiddles);
}
