// The per-class members of the sums (VectorSumFloat32Sse2 ... Avx512), each
// built from sum_body.inl by its class's file. For the dispatch tables in
// sum.cpp and for tests; everyone else calls the entry points of sum.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "primitives/vector_types.h"

LV_DECLARE_CLASSES(int32_t, VectorSumFloat32, (const float* src, int32_t n, float* sum, int32_t hint));
LV_DECLARE_CLASSES(int32_t, VectorSumComplexFloat32,
                   (const ComplexFloat32* src, int32_t n, ComplexFloat32* sum, int32_t hint));
