// SLEEF logf loops of this width (peer of the logarithm benchmark).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(4);

#include <immintrin.h>
#include <sleef.h>

#include "ln_peers.h"

void SleefLnU35Avx(const float* src, float* dst, int n) {
  for (int i = 0; i < n; i += 8) {
    _mm256_storeu_ps(dst + i, Sleef_logf8_u35avx(_mm256_loadu_ps(src + i)));
  }
}
