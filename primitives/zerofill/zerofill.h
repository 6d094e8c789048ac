// Zero fill: sets n elements to all-zero bytes. Returns StatusOk, or
// StatusNullPointer (null dst, tested first) or StatusBadCount (n <= 0), in
// which case nothing is written. Exactly the n elements are written, at any
// alignment.
#pragma once

#include <cstdint>

#include "primitives/vector_types.h"

int32_t VectorZeroFillUint8(void* dst, int32_t n);
int32_t VectorZeroFillInt16(int16_t* dst, int32_t n);
int32_t VectorZeroFillInt32(int32_t* dst, int32_t n);
int32_t VectorZeroFillFloat32(float* dst, int32_t n);
int32_t VectorZeroFillFloat64(double* dst, int32_t n);
int32_t VectorZeroFillComplexFloat32(ComplexFloat32* dst, int32_t n);

// The class implementations (n elements of 1, 2, 4 or 8 bytes). The FFT calls
// the byte fill of its own class directly. Int32 serves Float32 as well, and
// ComplexFloat32 serves Float64.
#define LV_DECLARE_ZERO_FILL_CLASS(Sfx)                        \
  int32_t VectorZeroFillUint8##Sfx(void* dst, int32_t n);      \
  int32_t VectorZeroFillInt16##Sfx(void* dst, int32_t n);      \
  int32_t VectorZeroFillInt32##Sfx(void* dst, int32_t n);      \
  int32_t VectorZeroFillComplexFloat32##Sfx(void* dst, int32_t n);

LV_DECLARE_ZERO_FILL_CLASS(Sse2)
LV_DECLARE_ZERO_FILL_CLASS(Sse3)
LV_DECLARE_ZERO_FILL_CLASS(Ssse3)
LV_DECLARE_ZERO_FILL_CLASS(Sse42)
LV_DECLARE_ZERO_FILL_CLASS(Avx)
LV_DECLARE_ZERO_FILL_CLASS(Avx2)
LV_DECLARE_ZERO_FILL_CLASS(Avx512ManyCore)
LV_DECLARE_ZERO_FILL_CLASS(Avx512)

#undef LV_DECLARE_ZERO_FILL_CLASS
