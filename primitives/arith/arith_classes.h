// The per-class members of the scalar and element-wise arithmetic
// (VectorAddFloat32Sse2 ... Avx512), each built from arith_body.inl by its
// class's file. For the dispatch tables in arith.cpp, for per-class code that
// calls its own class's member (the FFT scales with
// VectorMultiplyScalarInPlaceFloat32<Sfx>) and for tests; everyone else calls
// the entry points of arith.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "primitives/vector_types.h"

LV_DECLARE_CLASSES(int32_t, VectorMultiplyScalarInPlaceFloat32, (float value, float* srcDst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorAddScalarInPlaceFloat32, (float value, float* srcDst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorMultiplyScalarInPlaceFloat64, (double value, double* srcDst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorAddScalarInPlaceFloat64, (double value, double* srcDst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorMultiplyScalarFloat32, (const float* src, float value, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorAddScalarFloat32, (const float* src, float value, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorMultiplyScalarInPlaceComplexFloat32,
                   (uint64_t value, ComplexFloat32* srcDst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorMultiplyScalarComplexFloat32,
                   (const ComplexFloat32* src, uint64_t value, ComplexFloat32* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorAddFloat32, (const float* src1, const float* src2, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorMultiplyFloat32, (const float* src1, const float* src2, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorMultiplyComplexFloat32,
                   (const ComplexFloat32* src1, const ComplexFloat32* src2, ComplexFloat32* dst, int32_t n));
