// The per-class members of complex packing (VectorSplitComplexFloat32Sse2 ...
// Avx512), each built from complexpack_body.inl by its class's file. For the
// dispatch tables in complexpack.cpp, for the phase of each class (which calls
// the split of its own class) and for tests; everyone else calls the entry
// points of complexpack.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "primitives/vector_types.h"

LV_DECLARE_CLASSES(int32_t, VectorSplitComplexFloat32,
                   (const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorRealPartComplexFloat32, (const ComplexFloat32* src, float* dstRe, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorJoinComplexFloat32,
                   (const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n));
