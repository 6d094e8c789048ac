// Natural logarithm, class 6 (Avx512ManyCore): 16 segments of the mantissa in
// [0.75, 1.5) with a quartic each; special lanes through the double routine.
// g++ 12 reports the undefined-value idiom inside the AVX-512 intrinsics
// headers (_mm512_undefined_ps) as maybe-uninitialized.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "cpu/isa_class.h"
LV_ASSERT_CLASS(6);

#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_avx512.h"

// The scalar special-value routine in VEX encoding only (no xmm16-31).
#pragma GCC push_options
#pragma GCC target("no-avx512f")
#include "vmath/ln/ln_special.h"
#pragma GCC pop_options

namespace lv_avx512mc {
namespace {
struct Tag {};
int32_t g_statusCell = 0;  // handed to MathErrorCallback; nothing reads or writes it here
}  // namespace
}  // namespace lv_avx512mc

int32_t LnFloat32SpecialValuesAvx512ManyCore(const float* x, float* result) {
  return lv_vmath_ln::LnSpecialValue<lv_avx512mc::Tag, lv_vmath_ln::LnSpecialForm::kWide>(x, result);
}

int32_t LnFloat32KernelAvx512ManyCore(const float* src, float* dst, int32_t n) {
  return lv_vmath_ln::SegmentKernel<lv_vmath_ln::Ln16<lv_avx512mc::Tag, false>, &LnFloat32SpecialValuesAvx512ManyCore>(
      src, dst, n, &lv_avx512mc::g_statusCell);
}
