// Probe of class 3: one instruction the class may use, kept inside its namespace.
#include <immintrin.h>

#include "cpu/isa_class.h"

LV_ASSERT_CLASS(3);

namespace lv_sse42 {
int ProbeSse42(unsigned long long x, const int* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<int>(_mm_popcnt_u64(x)) + _mm_cvtsi128_si32(_mm_mullo_epi32(v, v));
}
}  // namespace lv_sse42
