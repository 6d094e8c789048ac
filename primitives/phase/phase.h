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

// The class implementations: each splits with its own class's split and calls
// its own class's arctangent stub.
int32_t VectorPhaseComplexFloat32Sse2(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorPhaseComplexFloat32Sse3(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorPhaseComplexFloat32Ssse3(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorPhaseComplexFloat32Sse42(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorPhaseComplexFloat32Avx(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorPhaseComplexFloat32Avx2(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorPhaseComplexFloat32Avx512ManyCore(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorPhaseComplexFloat32Avx512(const ComplexFloat32* src, float* dst, int32_t n);
