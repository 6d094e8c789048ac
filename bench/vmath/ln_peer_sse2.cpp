// SLEEF logf loops of this width (peer of the logarithm benchmark).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(0);

#include <immintrin.h>
#include <sleef.h>

#include "ln_peers.h"

void SleefLnU10Sse2(const float* src, float* dst, int n) {
  for (int i = 0; i < n; i += 4) {
    _mm_storeu_ps(dst + i, Sleef_logf4_u10sse2(_mm_loadu_ps(src + i)));
  }
}

void SleefLnU35Sse2(const float* src, float* dst, int n) {
  for (int i = 0; i < n; i += 4) {
    _mm_storeu_ps(dst + i, Sleef_logf4_u35sse2(_mm_loadu_ps(src + i)));
  }
}
