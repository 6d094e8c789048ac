// Probe of class 7: one instruction the class may use, kept inside its namespace.
#include <immintrin.h>

#include "cpu/isa_class.h"

LV_ASSERT_CLASS(7);

namespace lv_avx512 {
void ProbeAvx512(const float* a, float* d, int n) {
  const __mmask8 m = static_cast<__mmask8>((1u << (n & 7)) - 1u);
  _mm256_mask_storeu_ps(d, m, _mm256_maskz_loadu_ps(m, a));
}
}  // namespace lv_avx512
