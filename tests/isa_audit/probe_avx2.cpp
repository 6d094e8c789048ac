// Probe of class 5: one instruction the class may use, kept inside its namespace.
#include <immintrin.h>

#include "cpu/isa_class.h"

LV_ASSERT_CLASS(5);

namespace lv_avx2 {
float ProbeAvx2(const float* a, const float* b, const float* c) {
  const __m256 r = _mm256_fmadd_ps(_mm256_loadu_ps(a), _mm256_loadu_ps(b), _mm256_loadu_ps(c));
  const float out = _mm_cvtss_f32(_mm256_castps256_ps128(r));
  _mm256_zeroupper();
  return out;
}
}  // namespace lv_avx2
