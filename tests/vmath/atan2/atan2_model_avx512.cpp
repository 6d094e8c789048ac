// The processor's 14-bit reciprocal estimate, for the class-7 model.
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include <immintrin.h>

#include "atan2_model.h"

namespace lv_avx512 {
namespace {
float Rcp14Impl(float v) { return _mm_cvtss_f32(_mm_rcp14_ss(_mm_setzero_ps(), _mm_set_ss(v))); }
}  // namespace
}  // namespace lv_avx512

float lv_test_atan2::Rcp14(float v) { return lv_avx512::Rcp14Impl(v); }
