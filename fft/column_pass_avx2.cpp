// Column passes of class 5 (groups of 8, fused products).
#include <cstdint>

#include "fft/column_pass.h"
#include "fft/column_pass_impl.h"
#include "platform/isa_class.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
namespace {

struct ColumnClass {
  static constexpr int kWidth = 8;
  static constexpr bool kFused = true;
};

using Passes = ::lv_fft_colpass::ColumnPasses<ColumnClass>;

}  // namespace
}  // namespace lv_avx2

void FftForwardRadix8PassAvx2(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx2::Passes::Radix8<false>(data, h, l, twiddles);
}

void FftForwardRadix4PassAvx2(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx2::Passes::Radix4<false>(data, h, l, twiddles);
}

void FftInverseRadix8PassAvx2(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx2::Passes::Radix8<true>(data, h, l, twiddles);
}

void FftInverseRadix4PassAvx2(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx2::Passes::Radix4<true>(data, h, l, twiddles);
}
