// Copy: moves n elements from src to dst. Returns StatusOk, or
// StatusNullPointer (a null src or dst, tested before the count) or
// StatusBadCount (n <= 0), in which case nothing is written. The ranges must
// not overlap, except that dst may equal src (the vector is left unchanged).
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorCopyInt16(const int16_t* src, int16_t* dst, int32_t n);
int32_t VectorCopyFloat32(const float* src, float* dst, int32_t n);
int32_t VectorCopyFloat64(const double* src, double* dst, int32_t n);
int32_t VectorCopyComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n);
