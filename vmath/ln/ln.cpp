// The logarithm stubs of the eight processor classes, each a load of cell 0
// of its class's record (ln_records.cpp) and a jump.
#include "vmath/ln/ln_classes.h"

LV_VMATH_STUBS(LnFloat32Stub, LnFloat32Record, 0, (const float* src, float* dst, int32_t n), (src, dst, n))
