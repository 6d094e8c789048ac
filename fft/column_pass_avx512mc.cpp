// Column passes of class 6 (groups of 8, fused products, 256-bit vectors).
#include <cstdint>

#include "fft/column_pass.h"
#include "fft/column_pass_impl.h"
#include "platform/isa_class.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
namespace {

struct ColumnClass {
  static constexpr int kWidth = 8;
  static constexpr bool kFused = true;
};

using Passes = ::lv_fft_colpass::ColumnPasses<ColumnClass>;

}  // namespace
}  // namespace lv_avx512mc

void FftForwardRadix8PassAvx512ManyCore(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx512mc::Passes::Radix8<false>(data, h, l, twiddles);
}

void FftForwardRadix4PassAvx512ManyCore(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx512mc::Passes::Radix4<false>(data, h, l, twiddles);
}

void FftInverseRadix8PassAvx512ManyCore(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx512mc::Passes::Radix8<true>(data, h, l, twiddles);
}

void FftInverseRadix4PassAvx512ManyCore(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  lv_avx512mc::Passes::Radix4<true>(data, h, l, twiddles);
}
