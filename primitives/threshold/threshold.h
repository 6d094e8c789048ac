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

// The class implementations.
#define LV_THRESHOLD_DECLARE_CLASS(Sfx)                                                                 \
  int32_t VectorThresholdLessInt32##Sfx(const int32_t* src, int32_t* dst, int32_t n, int32_t level);    \
  int32_t VectorThresholdGreaterInt32##Sfx(const int32_t* src, int32_t* dst, int32_t n, int32_t level); \
  int32_t VectorThresholdLessFloat32##Sfx(const float* src, float* dst, int32_t n, float level);        \
  int32_t VectorThresholdGreaterFloat32##Sfx(const float* src, float* dst, int32_t n, float level);     \
  int32_t VectorThresholdLessFloat64##Sfx(const double* src, double* dst, int32_t n, double level);     \
  int32_t VectorThresholdGreaterFloat64##Sfx(const double* src, double* dst, int32_t n, double level);  \
  int32_t ThresholdByCodeFloat64##Sfx(const double* src, double* dst, int32_t n, double level, int32_t code)

LV_THRESHOLD_DECLARE_CLASS(Sse2);
LV_THRESHOLD_DECLARE_CLASS(Sse3);
LV_THRESHOLD_DECLARE_CLASS(Ssse3);
LV_THRESHOLD_DECLARE_CLASS(Sse42);
LV_THRESHOLD_DECLARE_CLASS(Avx);
LV_THRESHOLD_DECLARE_CLASS(Avx2);
LV_THRESHOLD_DECLARE_CLASS(Avx512ManyCore);
LV_THRESHOLD_DECLARE_CLASS(Avx512);

#undef LV_THRESHOLD_DECLARE_CLASS

// The shared Less/Greater routines of the float entry points of classes 0 to 3
// (the doubles have theirs in every class, above): (src, dst, n, level, code)
// with code CompareLess or CompareGreater; the pointers and the count are
// checked as above, then any other code gives StatusBadArgument (-5).
int32_t ThresholdByCodeFloat32Sse2(const float* src, float* dst, int32_t n, float level, int32_t code);
int32_t ThresholdByCodeFloat32Sse3(const float* src, float* dst, int32_t n, float level, int32_t code);
int32_t ThresholdByCodeFloat32Ssse3(const float* src, float* dst, int32_t n, float level, int32_t code);
int32_t ThresholdByCodeFloat32Sse42(const float* src, float* dst, int32_t n, float level, int32_t code);
