// Arctangent, class 0 (SSE2): the baseline kernel, within one ulp.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(0);

#include "vmath/atan2/atan2_classes.h"
#include "vmath/atan2/atan2_special.h"
#include "vmath/atan2/atan2_sse.h"

namespace lv_sse2 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_sse2

int32_t Atan2Float32SpecialValuesSse2(const float* y, const float* x, float* result) {
  return lv_vmath_atan2::SpecialValue<lv_sse2::Tag, lv_vmath_atan2::LastSum::kE3AlBl, false>(y, x, result);
}

int32_t Atan2Float32KernelSse2(const float* y, const float* x, float* dst, int32_t n) {
  return lv_vmath_atan2::Kernel4<lv_sse2::Tag, lv_vmath_atan2::BaselinePath<lv_sse2::Tag>, 1,
                                 &Atan2Float32SpecialValuesSse2>(y, x, dst, n);
}
