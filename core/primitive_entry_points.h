// The vector primitives the signal core calls, by their entry-point names.
// Each is a dispatcher that runs the implementation of the processor's class.
#pragma once

#include <cstdint>

#include "primitives/alloc/alloc.h"
#include "primitives/vector_types.h"


int32_t VectorZeroFillInt16(int16_t* dst, int32_t n);
int32_t VectorZeroFillInt32(int32_t* dst, int32_t n);
int32_t VectorZeroFillFloat32(float* dst, int32_t n);
int32_t VectorZeroFillFloat64(double* dst, int32_t n);
int32_t VectorZeroFillComplexFloat32(ComplexFloat32* dst, int32_t n);

int32_t VectorCopyInt16(const int16_t* src, int16_t* dst, int32_t n);
int32_t VectorCopyFloat32(const float* src, float* dst, int32_t n);
int32_t VectorCopyFloat64(const double* src, double* dst, int32_t n);
int32_t VectorCopyComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n);

int32_t VectorMultiplyScalarFloat32(const float* src, float c, float* dst, int32_t n);
int32_t VectorAddScalarFloat32(const float* src, float c, float* dst, int32_t n);
// A complex scalar travels as one 64-bit word, the real part in the low half.
int32_t VectorMultiplyScalarComplexFloat32(const ComplexFloat32* src, uint64_t c, ComplexFloat32* dst, int32_t n);
int32_t VectorMultiplyScalarInPlaceFloat32(float c, float* data, int32_t n);
int32_t VectorMultiplyScalarInPlaceFloat64(double c, double* data, int32_t n);
int32_t VectorMultiplyScalarInPlaceComplexFloat32(uint64_t c, ComplexFloat32* data, int32_t n);
int32_t VectorAddScalarInPlaceFloat32(float c, float* data, int32_t n);
int32_t VectorAddScalarInPlaceFloat64(double c, double* data, int32_t n);

int32_t VectorAddFloat32(const float* a, const float* b, float* dst, int32_t n);
int32_t VectorMultiplyFloat32(const float* a, const float* b, float* dst, int32_t n);
int32_t VectorMultiplyComplexFloat32(const ComplexFloat32* a, const ComplexFloat32* b, ComplexFloat32* dst,
                                     int32_t n);

int32_t VectorSumFloat32(const float* src, int32_t n, float* sum, int32_t hint);
int32_t VectorSumComplexFloat32(const ComplexFloat32* src, int32_t n, ComplexFloat32* sum, int32_t hint);

int32_t VectorMagnitudeComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorMagnitudeSquaredComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorAbsFloat32(const float* src, float* dst, int32_t n);

int32_t VectorMaxFloat32(const float* src, int32_t n, float* result);
int32_t VectorMinFloat32(const float* src, int32_t n, float* result);
int32_t VectorMaxFloat64(const double* src, int32_t n, double* result);
int32_t VectorMinFloat64(const double* src, int32_t n, double* result);
int32_t VectorMaxIndexFloat32(const float* src, int32_t n, float* result, int32_t* index);
int32_t VectorMinIndexFloat32(const float* src, int32_t n, float* result, int32_t* index);

int32_t VectorThresholdLessInt32(const int32_t* src, int32_t* dst, int32_t n, int32_t level);
int32_t VectorThresholdGreaterInt32(const int32_t* src, int32_t* dst, int32_t n, int32_t level);
int32_t VectorThresholdLessFloat32(const float* src, float* dst, int32_t n, float level);
int32_t VectorThresholdGreaterFloat32(const float* src, float* dst, int32_t n, float level);
int32_t VectorThresholdLessFloat64(const double* src, double* dst, int32_t n, double level);
int32_t VectorThresholdGreaterFloat64(const double* src, double* dst, int32_t n, double level);

int32_t VectorSplitComplexFloat32(const ComplexFloat32* src, float* re, float* im, int32_t n);
int32_t VectorRealPartComplexFloat32(const ComplexFloat32* src, float* re, int32_t n);
int32_t VectorJoinComplexFloat32(const float* re, const float* im, ComplexFloat32* dst, int32_t n);

int32_t VectorPhaseComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n);
int32_t VectorLnFloat32(const float* src, float* dst, int32_t n);

int32_t VectorConvertInt16ToFloat32(const int16_t* src, float* dst, int32_t n);
int32_t VectorConvertFloat32ToFloat64(const float* src, double* dst, int32_t n);
int32_t VectorConvertScaledFloat32ToInt16(const float* src, int16_t* dst, int32_t n, int32_t roundingMode,
                                          int32_t scaleFactor);
int32_t VectorConvertScaledFloat64ToInt32(const double* src, int32_t* dst, int32_t n, int32_t roundingMode,
                                          int32_t scaleFactor);
