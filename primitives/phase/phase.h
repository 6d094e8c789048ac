// Phase of complex floats: dst[i] = atan2(im, re) of src[i], in radians from
// -pi to pi with the sign of the imaginary part (the arctangent of the
// processor class, special values included: (-1, -0) gives -pi).
//
// Checks before anything is read or written: src null -8, dst null -8, n <= 0
// -6. Otherwise every result is written and the status is 0. The work runs in
// blocks of 128 elements through two 32-byte-aligned scratch arrays on the
// stack; nothing is allocated.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorPhaseComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n);
