// The arctangent stubs of the eight processor classes, each a load of cell 0
// of its class's record (atan2_records.cpp) and a jump.
#include "vmath/atan2/atan2_classes.h"

LV_VMATH_STUBS(Atan2Float32Stub, Atan2Float32Record, 0, (const float* y, const float* x, float* dst, int32_t n),
               (y, x, dst, n))
