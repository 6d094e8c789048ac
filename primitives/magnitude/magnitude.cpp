// Entry points and dispatch tables of the magnitude, power and absolute value.
#include "primitives/magnitude/magnitude.h"

#include "cpu/dispatch.h"
#include "primitives/magnitude/magnitude_classes.h"

namespace {

using ComplexToFloatFn = int32_t (*)(const ComplexFloat32*, float*, int32_t);
using FloatToFloatFn = int32_t (*)(const float*, float*, int32_t);

LV_DISPATCH_TABLE_OF(kVectorMagnitudeComplexFloat32Table, ComplexToFloatFn, VectorMagnitudeComplexFloat32);
LV_DISPATCH_TABLE_OF(kVectorMagnitudeSquaredComplexFloat32Table, ComplexToFloatFn,
                     VectorMagnitudeSquaredComplexFloat32);
LV_DISPATCH_TABLE_OF(kVectorAbsFloat32Table, FloatToFloatFn, VectorAbsFloat32);

}  // namespace

int32_t VectorMagnitudeComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n) {
  return kVectorMagnitudeComplexFloat32Table(src, dst, n);
}
int32_t VectorMagnitudeSquaredComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n) {
  return kVectorMagnitudeSquaredComplexFloat32Table(src, dst, n);
}
int32_t VectorAbsFloat32(const float* src, float* dst, int32_t n) { return kVectorAbsFloat32Table(src, dst, n); }
