// The per-class members of the thresholds (VectorThresholdLessInt32Sse2 ...
// Avx512), each built from threshold_body.inl by its class's file. For the
// dispatch tables in threshold.cpp and for tests; everyone else calls the
// entry points of threshold.h.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

LV_DECLARE_CLASSES(int32_t, VectorThresholdLessInt32, (const int32_t* src, int32_t* dst, int32_t n, int32_t level));
LV_DECLARE_CLASSES(int32_t, VectorThresholdGreaterInt32, (const int32_t* src, int32_t* dst, int32_t n, int32_t level));
LV_DECLARE_CLASSES(int32_t, VectorThresholdLessFloat32, (const float* src, float* dst, int32_t n, float level));
LV_DECLARE_CLASSES(int32_t, VectorThresholdGreaterFloat32, (const float* src, float* dst, int32_t n, float level));
LV_DECLARE_CLASSES(int32_t, VectorThresholdLessFloat64, (const double* src, double* dst, int32_t n, double level));
LV_DECLARE_CLASSES(int32_t, VectorThresholdGreaterFloat64, (const double* src, double* dst, int32_t n, double level));

// The by-code routines (src, dst, n, level, code) with code CompareLess or
// CompareGreater: the pointers and the count are checked as by the entry
// points, then any other code gives StatusBadArgument (-5). Every class has the
// doubles' routine; only classes 0 to 3 have the floats' one (their float
// entry points go through it).
LV_DECLARE_CLASSES(int32_t, ThresholdByCodeFloat64, (const double* src, double* dst, int32_t n, double level,
                                                     int32_t code));
int32_t ThresholdByCodeFloat32Sse2(const float* src, float* dst, int32_t n, float level, int32_t code);
int32_t ThresholdByCodeFloat32Sse3(const float* src, float* dst, int32_t n, float level, int32_t code);
int32_t ThresholdByCodeFloat32Ssse3(const float* src, float* dst, int32_t n, float level, int32_t code);
int32_t ThresholdByCodeFloat32Sse42(const float* src, float* dst, int32_t n, float level, int32_t code);
