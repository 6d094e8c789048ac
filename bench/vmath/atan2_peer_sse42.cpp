// SLEEF atan2 loops of this width (peer of the arctangent benchmark).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(3);

#include <immintrin.h>
#include <sleef.h>

#include "atan2_peers.h"

void SleefAtan2U35Sse4(const float* y, const float* x, float* dst, int n) {
  for (int i = 0; i < n; i += 4) {
    _mm_storeu_ps(dst + i, Sleef_atan2f4_u35sse4(_mm_loadu_ps(y + i), _mm_loadu_ps(x + i)));
  }
}
