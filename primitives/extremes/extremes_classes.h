// The per-class members of the extremes (VectorMaxFloat32Sse2 ... Avx512),
// each built from extremes_body.inl by its class's file. For the dispatch
// tables in extremes.cpp and for tests; everyone else calls the entry points
// of extremes.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

LV_DECLARE_CLASSES(int32_t, VectorMaxFloat32, (const float* src, int32_t n, float* result));
LV_DECLARE_CLASSES(int32_t, VectorMinFloat32, (const float* src, int32_t n, float* result));
LV_DECLARE_CLASSES(int32_t, VectorMaxFloat64, (const double* src, int32_t n, double* result));
LV_DECLARE_CLASSES(int32_t, VectorMinFloat64, (const double* src, int32_t n, double* result));
LV_DECLARE_CLASSES(int32_t, VectorMaxIndexFloat32, (const float* src, int32_t n, float* value, int32_t* index));
LV_DECLARE_CLASSES(int32_t, VectorMinIndexFloat32, (const float* src, int32_t n, float* value, int32_t* index));
