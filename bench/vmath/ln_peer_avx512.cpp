// SLEEF logf loops of this width (peer of the logarithm benchmark).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include <immintrin.h>
#include <sleef.h>

#include "ln_peers.h"

void SleefLnU10Avx512(const float* src, float* dst, int n) {
  for (int i = 0; i < n; i += 16) {
    _mm512_storeu_ps(dst + i, Sleef_logf16_u10avx512f(_mm512_loadu_ps(src + i)));
  }
}
