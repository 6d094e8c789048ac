// Copy: moves n elements from src to dst. Returns StatusOk, or
// StatusNullPointer (a null src or dst, tested before the count) or
// StatusBadCount (n <= 0), in which case nothing is written. The ranges must
// not overlap, except that dst may equal src (the vector is left unchanged).
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorCopyInt16(const int16_t* src, int16_t* dst, int32_t n);
int32_t VectorCopyFloat32(const float* src, float* dst, int32_t n);
int32_t VectorCopyFloat64(const double* src, double* dst, int32_t n);
int32_t VectorCopyComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n);

// The class implementations. The byte copies (n bytes) have no entry point:
// the FFT of each class and the typed copies of classes 4-7 call them
// directly. ComplexFloat32 serves Float64 as well.
#define LV_DECLARE_COPY_CLASS(Sfx)                                              \
  int32_t VectorCopyUint8##Sfx(const void* src, void* dst, int32_t n);          \
  int32_t VectorCopyInt16##Sfx(const void* src, void* dst, int32_t n);          \
  int32_t VectorCopyFloat32##Sfx(const void* src, void* dst, int32_t n);        \
  int32_t VectorCopyComplexFloat32##Sfx(const void* src, void* dst, int32_t n);

LV_DECLARE_COPY_CLASS(Sse2)
LV_DECLARE_COPY_CLASS(Sse3)
LV_DECLARE_COPY_CLASS(Ssse3)
LV_DECLARE_COPY_CLASS(Sse42)
LV_DECLARE_COPY_CLASS(Avx)
LV_DECLARE_COPY_CLASS(Avx2)
LV_DECLARE_COPY_CLASS(Avx512ManyCore)
LV_DECLARE_COPY_CLASS(Avx512)

#undef LV_DECLARE_COPY_CLASS
