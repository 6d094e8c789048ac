// Entry points and dispatch tables of the magnitude, power and absolute value.
#include "primitives/magnitude/magnitude.h"

#include "cpu/dispatch.h"

#define LV_MAG_TABLE(Name, FnType)                                                                      \
  LV_DISPATCH_TABLE(k##Name##Table, FnType, &Name##Sse2, &Name##Sse3, &Name##Ssse3, &Name##Sse42, &Name##Avx, \
                    &Name##Avx2, &Name##Avx512ManyCore, &Name##Avx512)

using ComplexToFloatFn = int32_t (*)(const ComplexFloat32*, float*, int32_t);
using FloatToFloatFn = int32_t (*)(const float*, float*, int32_t);

LV_MAG_TABLE(VectorMagnitudeComplexFloat32, ComplexToFloatFn);
LV_MAG_TABLE(VectorMagnitudeSquaredComplexFloat32, ComplexToFloatFn);
LV_MAG_TABLE(VectorAbsFloat32, FloatToFloatFn);

int32_t VectorMagnitudeComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n) {
  return kVectorMagnitudeComplexFloat32Table(src, dst, n);
}
int32_t VectorMagnitudeSquaredComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n) {
  return kVectorMagnitudeSquaredComplexFloat32Table(src, dst, n);
}
int32_t VectorAbsFloat32(const float* src, float* dst, int32_t n) { return kVectorAbsFloat32Table(src, dst, n); }
