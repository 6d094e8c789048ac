// Column passes of class 4 (groups of 8, separate products and sums).
#include <cstdint>

#include "fft/column_pass.h"
#include "fft/column_pass_impl.h"
#include "platform/isa_class.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
namespace {

struct ColumnClass {
  static constexpr int kWidth = 8;
  static constexpr bool kFused = false;
};

using Passes = ::lv_fft_colpass::ColumnPasses<ColumnClass>;

}  // namespace
}  // namespace lv_avx

void FftForwardRadix8PassAvx(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx::Passes::Radix8<false>(data, h, l, twiddles);
}

void FftForwardRadix4PassAvx(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx::Passes::Radix4<false>(data, h, l, twiddles);
}

void FftInverseRadix8PassAvx(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx::Passes::Radix8<true>(data, h, l, twiddles);
}

void FftInverseRadix4PassAvx(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx::Passes::Radix4<true>(data, h, l, twiddles);
}
