// SLEEF atan2 loops of this width (peer of the arctangent benchmark).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(4);

#include <immintrin.h>
#include <sleef.h>

#include "atan2_peers.h"

void SleefAtan2U35Avx(const float* y, const float* x, float* dst, int n) {
  for (int i = 0; i < n; i += 8) {
    _mm256_storeu_ps(dst + i, Sleef_atan2f8_u35avx(_mm256_loadu_ps(y + i), _mm256_loadu_ps(x + i)));
  }
}
