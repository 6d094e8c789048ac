// Probe of class 1: one instruction the class may use, kept inside its namespace.
#include <immintrin.h>

#include "cpu/isa_class.h"

LV_ASSERT_CLASS(1);

namespace lv_sse3 {
float ProbeSse3(const float* p) {
  const __m128 v = _mm_loadu_ps(p);
  return _mm_cvtss_f32(_mm_hadd_ps(v, v));
}
}  // namespace lv_sse3
