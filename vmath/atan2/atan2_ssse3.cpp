// Arctangent, class 2 (SSSE3; also the kernel of class 3): the quotient
// algorithm, 8 elements a step. Bit for bit the results of the class-1 kernel.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(2);

#include "vmath/atan2/atan2_classes.h"
#include "vmath/atan2/atan2_special.h"
#include "vmath/atan2/atan2_sse.h"

namespace lv_ssse3 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_ssse3

int32_t Atan2Float32SpecialValuesSsse3(const float* y, const float* x, float* result) {
  return lv_vmath_atan2::SpecialValue<lv_ssse3::Tag, lv_vmath_atan2::LastSum::kBlE3Al, false>(y, x, result);
}

int32_t Atan2Float32KernelSsse3(const float* y, const float* x, float* dst, int32_t n) {
  return lv_vmath_atan2::Kernel4<lv_ssse3::Tag, lv_vmath_atan2::QuotientPath<lv_ssse3::Tag>, 2,
                                 &Atan2Float32SpecialValuesSsse3>(y, x, dst, n);
}
