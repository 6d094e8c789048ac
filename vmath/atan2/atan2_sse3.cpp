// Arctangent, class 1 (SSE3): the quotient algorithm, 16 elements a step.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(1);

#include "vmath/atan2/atan2_classes.h"
#include "vmath/atan2/atan2_special.h"
#include "vmath/atan2/atan2_sse.h"

namespace lv_sse3 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_sse3

int32_t Atan2Float32SpecialValuesSse3(const float* y, const float* x, float* result) {
  return lv_vmath_atan2::SpecialValue<lv_sse3::Tag, lv_vmath_atan2::LastSum::kBlE3Al, false>(y, x, result);
}

int32_t Atan2Float32KernelSse3(const float* y, const float* x, float* dst, int32_t n) {
  return lv_vmath_atan2::Kernel4<lv_sse3::Tag, lv_vmath_atan2::QuotientPath<lv_sse3::Tag>, 4,
                                 &Atan2Float32SpecialValuesSse3>(y, x, dst, n);
}
