// The per-class members of the magnitude, power and absolute value
// (VectorMagnitudeComplexFloat32Sse2 ... Avx512), each built from
// magnitude_body.inl by its class's file. For the dispatch tables in
// magnitude.cpp and for tests; everyone else calls the entry points of
// magnitude.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "primitives/vector_types.h"

LV_DECLARE_CLASSES(int32_t, VectorMagnitudeComplexFloat32, (const ComplexFloat32* src, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorMagnitudeSquaredComplexFloat32, (const ComplexFloat32* src, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorAbsFloat32, (const float* src, float* dst, int32_t n));
