// Scalar arithmetic (a scalar times or plus every element) and element-wise
// arithmetic (two vectors combined element by element).
//
// Real results are one IEEE operation per element and identical in every
// processor class. Complex products follow the class's own formula:
// classes 0-4 round both products, class 5 (and the element-wise product of
// classes 5-7) keeps the first product exact in a fused multiply-add, the
// scalar product of classes 6-7 keeps xr*cr and xr*ci exact.
//
// Special scalars of the real forms: multiplying by exactly 1 writes nothing
// (in place) or copies; multiplying by +-0 zero-fills without reading the
// source; adding +-0 writes nothing or copies. A complex scalar is one 64-bit
// word, the real part in the low 32 bits.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorMultiplyScalarInPlaceFloat32(float value, float* srcDst, int32_t n);
int32_t VectorAddScalarInPlaceFloat32(float value, float* srcDst, int32_t n);
int32_t VectorMultiplyScalarInPlaceFloat64(double value, double* srcDst, int32_t n);
int32_t VectorAddScalarInPlaceFloat64(double value, double* srcDst, int32_t n);
int32_t VectorMultiplyScalarFloat32(const float* src, float value, float* dst, int32_t n);
int32_t VectorAddScalarFloat32(const float* src, float value, float* dst, int32_t n);
int32_t VectorMultiplyScalarInPlaceComplexFloat32(uint64_t value, ComplexFloat32* srcDst, int32_t n);
int32_t VectorMultiplyScalarComplexFloat32(const ComplexFloat32* src, uint64_t value, ComplexFloat32* dst, int32_t n);
int32_t VectorAddFloat32(const float* src1, const float* src2, float* dst, int32_t n);
int32_t VectorMultiplyFloat32(const float* src1, const float* src2, float* dst, int32_t n);
int32_t VectorMultiplyComplexFloat32(const ComplexFloat32* src1, const ComplexFloat32* src2, ComplexFloat32* dst,
                                     int32_t n);

// The one 64-bit word of a complex scalar.
inline uint64_t ComplexScalarWord(float re, float im) {
  uint32_t r, i;
  __builtin_memcpy(&r, &re, 4);
  __builtin_memcpy(&i, &im, 4);
  return (static_cast<uint64_t>(i) << 32) | r;
}
