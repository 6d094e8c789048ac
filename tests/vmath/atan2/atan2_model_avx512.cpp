// The processor's 14-bit reciprocal estimate, for the class-7 model.
#include "cpu/per_class.h"

#include <immintrin.h>

#include "atan2_model.h"

namespace LV_NS {
namespace {
float Rcp14Impl(float v) { return _mm_cvtss_f32(_mm_rcp14_ss(_mm_setzero_ps(), _mm_set_ss(v))); }
}  // namespace
}  // namespace LV_NS

float lv_test_atan2::Rcp14(float v) { return LV_NS::Rcp14Impl(v); }
