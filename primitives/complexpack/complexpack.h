// Complex packing: moving data between the interleaved complex layout (real
// part, then imaginary part, per element) and separate real and imaginary
// vectors of 32-bit floats. The routines move bits, not values: signs, zeros,
// infinities and NaN payloads arrive exactly as they were stored.
//
// Statuses: StatusOk, StatusNullPointer (-8), StatusBadCount (-6); nothing is
// written on an error.
//   Split:     src, dstRe or dstIm null: -8; then n <= 0: -6.
//   Real part: src or dstRe null: -8; then n <= 0: -6.
//   Join:      dst null: -8; then n <= 0: -6; then both parts null: -8. A null
//              part reads as +0.0.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorSplitComplexFloat32(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n);
int32_t VectorRealPartComplexFloat32(const ComplexFloat32* src, float* dstRe, int32_t n);
int32_t VectorJoinComplexFloat32(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n);
