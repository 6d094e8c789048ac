// SLEEF logf loops of this width (peer of the logarithm benchmark).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(3);

#include <immintrin.h>
#include <sleef.h>

#include "ln_peers.h"

void SleefLnU35Sse4(const float* src, float* dst, int n) {
  for (int i = 0; i < n; i += 4) {
    _mm_storeu_ps(dst + i, Sleef_logf4_u35sse4(_mm_loadu_ps(src + i)));
  }
}
