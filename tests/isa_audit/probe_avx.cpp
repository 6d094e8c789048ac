// Probe of class 4: one instruction the class may use, kept inside its namespace.
#include <immintrin.h>

#include "cpu/isa_class.h"

LV_ASSERT_CLASS(4);

namespace lv_avx {
float ProbeAvx(const float* p) {
  const __m256 v = _mm256_loadu_ps(p);
  const __m256 s = _mm256_add_ps(v, v);
  const float r = _mm_cvtss_f32(_mm256_castps256_ps128(s));
  _mm256_zeroupper();
  return r;
}
}  // namespace lv_avx
