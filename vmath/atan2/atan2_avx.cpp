// Arctangent, class 4 (AVX, no FMA): the quotient algorithm on eight lanes,
// 16 elements a step, every operation rounded (the results of classes 1 to 3).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(4);

#include "vmath/atan2/atan2_classes.h"
#include "vmath/atan2/atan2_avx.h"
#include "vmath/atan2/atan2_special.h"

namespace lv_avx {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx

int32_t Atan2Float32SpecialValuesAvx(const float* y, const float* x, float* result) {
  return lv_vmath_atan2::SpecialValue<lv_avx::Tag, lv_vmath_atan2::LastSum::kBlE3Al, false>(y, x, result);
}

int32_t Atan2Float32KernelAvx(const float* y, const float* x, float* dst, int32_t n) {
  return lv_vmath_atan2::Kernel8<lv_avx::Tag, false, 2, &Atan2Float32SpecialValuesAvx>(y, x, dst, n);
}
