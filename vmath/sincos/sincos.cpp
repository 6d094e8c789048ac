// The sine and cosine stubs of the eight processor classes, each a load of
// cell 1 of its class's record (sincos_records.cpp) and a jump.
#include "vmath/sincos/sincos_classes.h"

LV_VMATH_STUBS(SinFloat32Stub, SinFloat32Record, 1, (const float* src, float* dst, int32_t n), (src, dst, n))
LV_VMATH_STUBS(CosFloat32Stub, CosFloat32Record, 1, (const float* src, float* dst, int32_t n), (src, dst, n))
