// The per-class members of the natural logarithm (VectorLnFloat32Sse2 ...
// Avx512), each built from logarithm_body.inl by its class's file and calling
// its own class's logarithm stub. For the dispatch table in logarithm.cpp and
// for tests; everyone else calls the entry point of logarithm.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

LV_DECLARE_CLASSES(int32_t, VectorLnFloat32, (const float* src, float* dst, int32_t n));
