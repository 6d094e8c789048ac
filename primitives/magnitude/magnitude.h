// Magnitude sqrt(re^2 + im^2) and power re^2 + im^2 of complex floats, and the
// absolute value of floats.
//
// The absolute value clears the sign bit and is identical in every class. The
// power is P = fl(fl(re^2) + fl(im^2)); classes 5-7 form F = fl(re*re + fl(im^2))
// (one fused multiply-add) in heads and for destinations that are not a
// multiple of 4. The magnitude is the correctly rounded sqrt(P) in class 0; in
// classes 1-4 a reciprocal-square-root estimate with one Newton step, in
// classes 5-7 one with a second-order correction; a group holding a zero,
// tiny, infinite or NaN sum takes the exact root for all its elements.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorMagnitudeComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorMagnitudeSquaredComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorAbsFloat32(const float* src, float* dst, int32_t n);
