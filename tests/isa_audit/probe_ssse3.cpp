// Probe of class 2: one instruction the class may use, kept inside its namespace.
#include <immintrin.h>

#include "cpu/isa_class.h"

LV_ASSERT_CLASS(2);

namespace lv_ssse3 {
int ProbeSsse3(const int* p) { return _mm_cvtsi128_si32(_mm_abs_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)))); }
}  // namespace lv_ssse3
