// Natural logarithm, class 4 (Avx): reduction to [2/3, 4/3) and a degree-9
// polynomial, no table; special lanes through the double routine.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(4);

#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_poly.h"
#include "vmath/ln/ln_special.h"

namespace lv_avx {
namespace {
struct Tag {};
int32_t g_statusCell = 0;  // handed to MathErrorCallback; nothing reads or writes it here
}  // namespace
}  // namespace lv_avx

int32_t LnFloat32SpecialValuesAvx(const float* x, float* result) {
  return lv_vmath_ln::LnSpecialValue<lv_avx::Tag, lv_vmath_ln::LnSpecialForm::kPlain>(x, result);
}

int32_t LnFloat32KernelAvx(const float* src, float* dst, int32_t n) {
  return lv_vmath_ln::PolyKernel<lv_vmath_ln::Ln8<lv_avx::Tag, false>, &LnFloat32SpecialValuesAvx>(src, dst, n, &lv_avx::g_statusCell);
}
