// Type conversions of vectors: plain (int16 -> float, int32 -> float,
// float -> double) and scaled (float -> int16, float -> int32,
// double -> int32, each multiplied by 2^-scaleFactor, rounded by a rounding
// mode and saturated).
//
// Every entry point returns StatusNullPointer for a null source or
// destination (tested first), StatusBadCount for a count <= 0, and writes
// nothing in either case; otherwise all count elements are converted and the
// result is StatusOk. Source and destination must not overlap, except that
// VectorConvertInt32ToFloat32 accepts the same array for both (in place).
//
// The plain conversions give bit-identical results in every processor class
// (int32 -> float rounds by the caller's rounding control). The scaled
// conversions agree in every class for elements that are not NaN and for
// scale factors -127..126; NaN elements and scale factors outside that range
// give each class's own documented result. The caller's SSE control and status
// register (rounding control, denormals-are-zero, flush-to-zero, exception
// masks) is the same after the call as before it.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

// Rounding modes of the scaled conversions. Any other value rounds half away
// from zero.
enum : int32_t {
  RoundTowardZero = 0,
  RoundNearestEven = 1,
  RoundHalfAwayFromZero = 2,
};

int32_t VectorConvertInt16ToFloat32(const int16_t* src, float* dst, int32_t n);
int32_t VectorConvertInt32ToFloat32(const int32_t* src, float* dst, int32_t n);
int32_t VectorConvertFloat32ToFloat64(const float* src, double* dst, int32_t n);
int32_t VectorConvertScaledFloat32ToInt16(const float* src, int16_t* dst, int32_t n, int32_t roundingMode,
                                          int32_t scaleFactor);
int32_t VectorConvertScaledFloat32ToInt32(const float* src, int32_t* dst, int32_t n, int32_t roundingMode,
                                          int32_t scaleFactor);
int32_t VectorConvertScaledFloat64ToInt32(const double* src, int32_t* dst, int32_t n, int32_t roundingMode,
                                          int32_t scaleFactor);
