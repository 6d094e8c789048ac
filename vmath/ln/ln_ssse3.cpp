// Natural logarithm, class 2 (Ssse3): reduction to [2/3, 4/3) and a degree-9
// polynomial, no table; special lanes through the double routine.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(2);

#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_poly.h"
#include "vmath/ln/ln_special.h"

namespace lv_ssse3 {
namespace {
struct Tag {};
int32_t g_statusCell = 0;  // handed to MathErrorCallback; nothing reads or writes it here
}  // namespace
}  // namespace lv_ssse3

int32_t LnFloat32SpecialValuesSsse3(const float* x, float* result) {
  return lv_vmath_ln::LnSpecialValue<lv_ssse3::Tag, lv_vmath_ln::LnSpecialForm::kPlain>(x, result);
}

int32_t LnFloat32KernelSsse3(const float* src, float* dst, int32_t n) {
  return lv_vmath_ln::PolyKernel<lv_vmath_ln::Ln4<lv_ssse3::Tag>, &LnFloat32SpecialValuesSsse3>(src, dst, n, &lv_ssse3::g_statusCell);
}
