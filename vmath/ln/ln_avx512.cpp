// Natural logarithm, class 7 (Avx512): 16 segments of the mantissa in
// [0.75, 1.5) with a quartic each; special lanes through the double routine.
// g++ 12 reports the undefined-value idiom inside the AVX-512 intrinsics
// headers (_mm512_undefined_ps) as maybe-uninitialized.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_avx512.h"

#include "vmath/ln/ln_special.h"

namespace lv_avx512 {
namespace {
struct Tag {};
int32_t g_statusCell = 0;  // handed to MathErrorCallback; nothing reads or writes it here
}  // namespace
}  // namespace lv_avx512

int32_t LnFloat32SpecialValuesAvx512(const float* x, float* result) {
  return lv_vmath_ln::LnSpecialValue<lv_avx512::Tag, lv_vmath_ln::LnSpecialForm::kWide>(x, result);
}

int32_t LnFloat32KernelAvx512(const float* src, float* dst, int32_t n) {
  return lv_vmath_ln::SegmentKernel<lv_vmath_ln::Ln16<lv_avx512::Tag, true>, &LnFloat32SpecialValuesAvx512>(
      src, dst, n, &lv_avx512::g_statusCell);
}
