// The per-class members of the zero fill (n elements of 1, 2, 4 or 8 bytes),
// each built from zerofill_body.inl by its class's file. For the dispatch
// tables in zerofill.cpp, for per-class code that calls its own class's fill
// (the arithmetic, the FFT) and for tests; everyone else calls the entry
// points of zerofill.h. The Int32 member serves Float32 as well, the complex
// one Float64 (same element sizes). Classes 1-3 fill with one kernel (16-byte
// stores), classes 4-7 with another (32-byte stores, the AVX-512 classes too).
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

LV_DECLARE_CLASSES(int32_t, VectorZeroFillUint8, (void* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorZeroFillInt16, (void* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorZeroFillInt32, (void* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorZeroFillComplexFloat32, (void* dst, int32_t n));
