// SLEEF atan2 loops of this width (peer of the arctangent benchmark).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include <immintrin.h>
#include <sleef.h>

#include "atan2_peers.h"

void SleefAtan2U35Avx512(const float* y, const float* x, float* dst, int n) {
  for (int i = 0; i < n; i += 16) {
    _mm512_storeu_ps(dst + i, Sleef_atan2f16_u35avx512f(_mm512_loadu_ps(y + i), _mm512_loadu_ps(x + i)));
  }
}
