// Probe of class 6: one instruction the class may use, kept inside its namespace.
#include <immintrin.h>

#include "cpu/isa_class.h"

LV_ASSERT_CLASS(6);

namespace lv_avx512mc {
void ProbeAvx512ManyCore(const float* a, float* d) {
  const __m512 v = _mm512_loadu_ps(a);
  _mm512_storeu_ps(d, _mm512_mul_ps(v, v));
}
}  // namespace lv_avx512mc
