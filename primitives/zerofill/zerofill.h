// Zero fill: sets n elements to all-zero bytes. Returns StatusOk, or
// StatusNullPointer (null dst, tested first) or StatusBadCount (n <= 0), in
// which case nothing is written. Exactly the n elements are written, at any
// alignment.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorZeroFillUint8(void* dst, int32_t n);
int32_t VectorZeroFillInt16(int16_t* dst, int32_t n);
int32_t VectorZeroFillInt32(int32_t* dst, int32_t n);
int32_t VectorZeroFillFloat32(float* dst, int32_t n);
int32_t VectorZeroFillFloat64(double* dst, int32_t n);
int32_t VectorZeroFillComplexFloat32(ComplexFloat32* dst, int32_t n);
