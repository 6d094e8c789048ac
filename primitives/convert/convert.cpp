// Entry points and dispatch tables of the plain and scaled conversions.
#include "primitives/convert/convert.h"

#include "cpu/dispatch.h"
#include "primitives/convert/convert_classes.h"

namespace {

using PlainI16 = int32_t (*)(const int16_t*, float*, int32_t);
using PlainI32 = int32_t (*)(const int32_t*, float*, int32_t);
using PlainF32 = int32_t (*)(const float*, double*, int32_t);
using ScaledF32I16 = int32_t (*)(const float*, int16_t*, int32_t, int32_t, int32_t);
using ScaledF32I32 = int32_t (*)(const float*, int32_t*, int32_t, int32_t, int32_t);
using ScaledF64I32 = int32_t (*)(const double*, int32_t*, int32_t, int32_t, int32_t);

LV_DISPATCH_TABLE_OF(kVectorConvertInt16ToFloat32Table, PlainI16, VectorConvertInt16ToFloat32);
LV_DISPATCH_TABLE_OF(kVectorConvertInt32ToFloat32Table, PlainI32, VectorConvertInt32ToFloat32);
LV_DISPATCH_TABLE_OF(kVectorConvertFloat32ToFloat64Table, PlainF32, VectorConvertFloat32ToFloat64);
LV_DISPATCH_TABLE_OF(kVectorConvertScaledFloat32ToInt16Table, ScaledF32I16, VectorConvertScaledFloat32ToInt16);
LV_DISPATCH_TABLE_OF(kVectorConvertScaledFloat32ToInt32Table, ScaledF32I32, VectorConvertScaledFloat32ToInt32);
LV_DISPATCH_TABLE_OF(kVectorConvertScaledFloat64ToInt32Table, ScaledF64I32, VectorConvertScaledFloat64ToInt32);

}  // namespace

int32_t VectorConvertInt16ToFloat32(const int16_t* src, float* dst, int32_t n) {
  return kVectorConvertInt16ToFloat32Table(src, dst, n);
}
int32_t VectorConvertInt32ToFloat32(const int32_t* src, float* dst, int32_t n) {
  return kVectorConvertInt32ToFloat32Table(src, dst, n);
}
int32_t VectorConvertFloat32ToFloat64(const float* src, double* dst, int32_t n) {
  return kVectorConvertFloat32ToFloat64Table(src, dst, n);
}
int32_t VectorConvertScaledFloat32ToInt16(const float* src, int16_t* dst, int32_t n, int32_t roundingMode,
                                          int32_t scaleFactor) {
  return kVectorConvertScaledFloat32ToInt16Table(src, dst, n, roundingMode, scaleFactor);
}
int32_t VectorConvertScaledFloat32ToInt32(const float* src, int32_t* dst, int32_t n, int32_t roundingMode,
                                          int32_t scaleFactor) {
  return kVectorConvertScaledFloat32ToInt32Table(src, dst, n, roundingMode, scaleFactor);
}
int32_t VectorConvertScaledFloat64ToInt32(const double* src, int32_t* dst, int32_t n, int32_t roundingMode,
                                          int32_t scaleFactor) {
  return kVectorConvertScaledFloat64ToInt32Table(src, dst, n, roundingMode, scaleFactor);
}
