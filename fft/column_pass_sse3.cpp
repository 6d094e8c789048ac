// Column passes of class 1 (groups of 4, separate products and sums).
#include <cstdint>

#include "fft/column_pass.h"
#include "fft/column_pass_impl.h"
#include "platform/isa_class.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
namespace {

struct ColumnClass {
  static constexpr int kWidth = 4;
  static constexpr bool kFused = false;
};

using Passes = ::lv_fft_colpass::ColumnPasses<ColumnClass>;

}  // namespace
}  // namespace lv_sse3

void FftForwardRadix8PassSse3(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_sse3::Passes::Radix8<false>(data, h, l, twiddles);
}

void FftForwardRadix4PassSse3(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_sse3::Passes::Radix4<false>(data, h, l, twiddles);
}

void FftInverseRadix8PassSse3(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_sse3::Passes::Radix8<true>(data, h, l, twiddles);
}

void FftInverseRadix4PassSse3(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_sse3::Passes::Radix4<true>(data, h, l, twiddles);
}
