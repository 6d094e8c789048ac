// The arctangent stubs. Each loads cell 0 of its class's record and jumps
// there: the records live in another translation unit, so the compiler keeps
// the load and turns the call into a tail jump (no frame of its own).
#include "vmath/atan2/atan2.h"

#define LV_ATAN2_STUB(Suffix)                                                                   \
  int32_t Atan2Float32Stub##Suffix(const float* y, const float* x, float* dst, int32_t n) {     \
    return Atan2Float32Record##Suffix.variant[0](y, x, dst, n);                                 \
  }

LV_ATAN2_STUB(Sse2)
LV_ATAN2_STUB(Sse3)
LV_ATAN2_STUB(Ssse3)
LV_ATAN2_STUB(Sse42)
LV_ATAN2_STUB(Avx)
LV_ATAN2_STUB(Avx2)
LV_ATAN2_STUB(Avx512ManyCore)
LV_ATAN2_STUB(Avx512)

#undef LV_ATAN2_STUB
