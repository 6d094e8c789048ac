// The per-class members of the conversions (VectorConvertInt16ToFloat32Sse2
// ... Avx512), each built from convert_body.inl by its class's file, and the
// classes' streaming limits. For the dispatch tables in convert.cpp and for
// tests; everyone else calls the entry points of convert.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

LV_DECLARE_CLASSES(int32_t, VectorConvertInt16ToFloat32, (const int16_t* src, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorConvertInt32ToFloat32, (const int32_t* src, float* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorConvertFloat32ToFloat64, (const float* src, double* dst, int32_t n));
LV_DECLARE_CLASSES(int32_t, VectorConvertScaledFloat32ToInt16,
                   (const float* src, int16_t* dst, int32_t n, int32_t roundingMode, int32_t scaleFactor));
LV_DECLARE_CLASSES(int32_t, VectorConvertScaledFloat32ToInt32,
                   (const float* src, int32_t* dst, int32_t n, int32_t roundingMode, int32_t scaleFactor));
LV_DECLARE_CLASSES(int32_t, VectorConvertScaledFloat64ToInt32,
                   (const double* src, int32_t* dst, int32_t n, int32_t roundingMode, int32_t scaleFactor));

// Element counts from which the float -> double conversion of classes 1 to 3
// writes with non-temporal stores: streaming starts when the elements left
// after the alignment prologue, minus 8, exceed the class's threshold (2 MiB
// and 4 MiB divided by the 12 bytes each element moves).
inline constexpr int32_t kConvertStreamThresholdSse3 = 174762;
inline constexpr int32_t kConvertStreamThresholdSsse3 = 349525;
inline constexpr int32_t kConvertStreamThresholdSse42 = 349525;
