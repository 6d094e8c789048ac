// The logarithm stubs. Each loads cell 0 of its class's record and jumps
// there: the records live in another translation unit, so the compiler keeps
// the load and turns the call into a tail jump (no frame of its own).
#include "vmath/ln/ln.h"

#define LV_LN_STUB(Suffix)                                                 \
  int32_t LnFloat32Stub##Suffix(const float* src, float* dst, int32_t n) { \
    return LnFloat32Record##Suffix.variant[0](src, dst, n);                \
  }

LV_LN_STUB(Sse2)
LV_LN_STUB(Sse3)
LV_LN_STUB(Ssse3)
LV_LN_STUB(Sse42)
LV_LN_STUB(Avx)
LV_LN_STUB(Avx2)
LV_LN_STUB(Avx512ManyCore)
LV_LN_STUB(Avx512)

#undef LV_LN_STUB
