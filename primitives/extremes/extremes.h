// Extremes of float and double vectors: the largest or smallest element, and
// for floats also the position of its first occurrence.
//
// Value searches (src, n, result): src or result null gives StatusNullPointer
// (-8), n <= 0 gives StatusBadCount (-6); otherwise the extreme, always one of
// the elements bit for bit, is written through result.
//
// Searches with index (src, n, value, index): src or value null gives -8, then
// n <= 0 gives -6. A null index hands the call to the value search of the same
// processor class (only the value is written). Otherwise the extreme is
// written through value and the smallest position holding it through index;
// positions are exact for every count.
//
// NaN elements and zeros of both signs are decided by the comparisons of each
// processor class's road; each class reproduces its own rule bit for bit.
#pragma once

#include <cstdint>

int32_t VectorMaxFloat32(const float* src, int32_t n, float* result);
int32_t VectorMinFloat32(const float* src, int32_t n, float* result);
int32_t VectorMaxFloat64(const double* src, int32_t n, double* result);
int32_t VectorMinFloat64(const double* src, int32_t n, double* result);
int32_t VectorMaxIndexFloat32(const float* src, int32_t n, float* value, int32_t* index);
int32_t VectorMinIndexFloat32(const float* src, int32_t n, float* value, int32_t* index);
