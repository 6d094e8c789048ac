// Natural logarithm, class 5 (Avx2): reduction to [2/3, 4/3) and a degree-9
// polynomial, no table; special lanes through the double routine.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(5);

#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_poly.h"
#include "vmath/ln/ln_special.h"

namespace lv_avx2 {
namespace {
struct Tag {};
int32_t g_statusCell = 0;  // handed to MathErrorCallback; nothing reads or writes it here
}  // namespace
}  // namespace lv_avx2

int32_t LnFloat32SpecialValuesAvx2(const float* x, float* result) {
  return lv_vmath_ln::LnSpecialValue<lv_avx2::Tag, lv_vmath_ln::LnSpecialForm::kFused>(x, result);
}

int32_t LnFloat32KernelAvx2(const float* src, float* dst, int32_t n) {
  return lv_vmath_ln::PolyKernel<lv_vmath_ln::Ln8<lv_avx2::Tag, true>, &LnFloat32SpecialValuesAvx2>(src, dst, n, &lv_avx2::g_statusCell);
}
