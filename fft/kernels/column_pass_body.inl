// The column passes of one processor class (fft/kernels/column_pass.h): the
// passes of column_pass_vector.inl built with the class's group width and
// fused products from the class table, or, on class 6, its names forwarding to
// the class-5 passes (columnPassClass).
#include <immintrin.h>

#include <cstdint>

#include "fft/fft_class_table.h"
#include "fft/kernels/column_pass.h"

#if LV_CLASS == 6
// Class 6 runs the class-5 passes under its own names, so the two are the same
// code and agree bit for bit; built with the class-6 flags, the radix-8 body
// would move general registers through xmm16-31.
static_assert(kFftClasses[6].columnPassClass == kClassAvx2);

void LV_NAME(FftForwardRadix8Pass)(float* data, float* unused, int32_t h, int32_t l, const float* twiddles) {
  FftForwardRadix8PassAvx2(data, unused, h, l, twiddles);
}
void LV_NAME(FftForwardRadix4Pass)(float* data, float* unused, int32_t h, int32_t l, const float* twiddles) {
  FftForwardRadix4PassAvx2(data, unused, h, l, twiddles);
}
void LV_NAME(FftInverseRadix8Pass)(float* data, float* unused, int32_t h, int32_t l, const float* twiddles) {
  FftInverseRadix8PassAvx2(data, unused, h, l, twiddles);
}
void LV_NAME(FftInverseRadix4Pass)(float* data, float* unused, int32_t h, int32_t l, const float* twiddles) {
  FftInverseRadix4PassAvx2(data, unused, h, l, twiddles);
}

#else
static_assert(kFftClasses[LV_CLASS].columnPassClass == LV_CLASS);

namespace LV_NS {
namespace {

#include "fft/kernels/column_pass_vector.inl"

struct ColumnClass {
  static constexpr int kWidth = kFftClasses[kClass].groupWidth;
  static constexpr bool kFused = kFftClasses[kClass].fusedProducts;
};

using Passes = ColumnPasses<ColumnClass>;

}  // namespace
}  // namespace LV_NS

void LV_NAME(FftForwardRadix8Pass)(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  LV_NS::Passes::Radix8<false>(data, h, l, twiddles);
}
void LV_NAME(FftForwardRadix4Pass)(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  LV_NS::Passes::Radix4<false>(data, h, l, twiddles);
}
void LV_NAME(FftInverseRadix8Pass)(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  LV_NS::Passes::Radix8<true>(data, h, l, twiddles);
}
void LV_NAME(FftInverseRadix4Pass)(float* data, float* /*unused*/, int32_t h, int32_t l, const float* twiddles) {
  LV_NS::Passes::Radix4<true>(data, h, l, twiddles);
}
#endif
