// The class-6 reciprocal helper on one value, for the class-6 model: the
// software equivalent by default, the processor's 28-bit reciprocal in a
// build with LV_NATIVE_RCP28.
#include "cpu/per_class.h"

#include <immintrin.h>

#include "atan2_model.h"
#include "vmath/rcp28.h"

namespace LV_NS {
namespace {
float Rcp28Impl(float v) { return _mm512_cvtss_f32(lv_vmath_rcp28::Rcp28(_mm512_set1_ps(v))); }
}  // namespace
}  // namespace LV_NS

float lv_test_atan2::Rcp28(float v) { return LV_NS::Rcp28Impl(v); }
