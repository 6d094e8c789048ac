// Thresholds: clipping a vector against a level, element by element.
//
// Less forms clip from below, Greater forms from above:
//   integers (signed): Less gives level where x < level, else x;
//                      Greater gives level where x > level, else x;
//   floats, doubles:   Less gives x where x > level, else level;
//                      Greater gives x where x < level, else level.
// The float comparisons are ordered, so an element equal to the level gives the
// level's bits (-0.0 against +0.0 gives +0.0 and the other way round), a NaN
// element gives the level, and a NaN level makes every element that NaN.
//
// Arguments (src, dst, n, level). src or dst null gives StatusNullPointer (-8),
// then n <= 0 gives StatusBadCount (-6); nothing is written on an error. dst may
// be src itself; partly overlapping vectors are not supported.
#pragma once

#include <cstdint>

// Compare codes of the by-code routines.
enum : int32_t { CompareLess = 0, CompareGreater = 4 };

int32_t VectorThresholdLessInt32(const int32_t* src, int32_t* dst, int32_t n, int32_t level);
int32_t VectorThresholdGreaterInt32(const int32_t* src, int32_t* dst, int32_t n, int32_t level);
int32_t VectorThresholdLessFloat32(const float* src, float* dst, int32_t n, float level);
int32_t VectorThresholdGreaterFloat32(const float* src, float* dst, int32_t n, float level);
int32_t VectorThresholdLessFloat64(const double* src, double* dst, int32_t n, double level);
int32_t VectorThresholdGreaterFloat64(const double* src, double* dst, int32_t n, double level);
