// The per-class members of the phase (VectorPhaseComplexFloat32Sse2 ...
// Avx512), each built from phase_body.inl by its class's file: each splits
// with its own class's split and calls its own class's arctangent stub. For
// the dispatch table in phase.cpp and for tests; everyone else calls the entry
// point of phase.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "primitives/vector_types.h"

LV_DECLARE_CLASSES(int32_t, VectorPhaseComplexFloat32, (const ComplexFloat32* src, float* dst, int32_t n));
