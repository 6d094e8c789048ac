// Deliberately wrong: a file of class 3 that the build gives AVX2 flags, so it
// uses ymm registers and FMA. The audit must reject it.
#include <immintrin.h>

namespace lv_sse42 {
float WrongWide(const float* a, const float* b, const float* c) {
  const __m256 r = _mm256_fmadd_ps(_mm256_loadu_ps(a), _mm256_loadu_ps(b), _mm256_loadu_ps(c));
  return _mm_cvtss_f32(_mm256_castps256_ps128(r));
}
}  // namespace lv_sse42
