// Arctangent, class 5 (AVX2 with FMA): the quotient algorithm on eight lanes,
// eight elements a step, the polynomial and the last step fused.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(5);

#include "vmath/atan2/atan2_classes.h"
#include "vmath/atan2/atan2_avx.h"
#include "vmath/atan2/atan2_special.h"

namespace lv_avx2 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx2

int32_t Atan2Float32SpecialValuesAvx2(const float* y, const float* x, float* result) {
  return lv_vmath_atan2::SpecialValue<lv_avx2::Tag, lv_vmath_atan2::LastSum::kE3AlBl, true>(y, x, result);
}

int32_t Atan2Float32KernelAvx2(const float* y, const float* x, float* dst, int32_t n) {
  return lv_vmath_atan2::Kernel8<lv_avx2::Tag, true, 1, &Atan2Float32SpecialValuesAvx2>(y, x, dst, n);
}
