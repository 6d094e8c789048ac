// Column passes of class 7 (groups of 8, fused products, 256-bit vectors).
#include <cstdint>

#include "fft/column_pass.h"
#include "fft/column_pass_impl.h"
#include "platform/isa_class.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
namespace {

struct ColumnClass {
  static constexpr int kWidth = 8;
  static constexpr bool kFused = true;
};

using Passes = ::lv_fft_colpass::ColumnPasses<ColumnClass>;

}  // namespace
}  // namespace lv_avx512

void FftForwardRadix8PassAvx512(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx512::Passes::Radix8<false>(data, h, l, twiddles);
}

void FftForwardRadix4PassAvx512(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx512::Passes::Radix4<false>(data, h, l, twiddles);
}

void FftInverseRadix8PassAvx512(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx512::Passes::Radix8<true>(data, h, l, twiddles);
}

void FftInverseRadix4PassAvx512(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx512::Passes::Radix4<true>(data, h, l, twiddles);
}
