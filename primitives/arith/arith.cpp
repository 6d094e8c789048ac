// Entry points and dispatch tables of the scalar and element-wise arithmetic.
#include "primitives/arith/arith.h"

#include "cpu/dispatch.h"
#include "primitives/arith/arith_classes.h"

namespace {

using ScalarInPlaceF32Fn = int32_t (*)(float, float*, int32_t);
using ScalarInPlaceF64Fn = int32_t (*)(double, double*, int32_t);
using ScalarF32Fn = int32_t (*)(const float*, float, float*, int32_t);
using ScalarInPlaceC32Fn = int32_t (*)(uint64_t, ComplexFloat32*, int32_t);
using ScalarC32Fn = int32_t (*)(const ComplexFloat32*, uint64_t, ComplexFloat32*, int32_t);
using BinaryF32Fn = int32_t (*)(const float*, const float*, float*, int32_t);
using BinaryC32Fn = int32_t (*)(const ComplexFloat32*, const ComplexFloat32*, ComplexFloat32*, int32_t);

LV_DISPATCH_TABLE_OF(kVectorMultiplyScalarInPlaceFloat32Table, ScalarInPlaceF32Fn, VectorMultiplyScalarInPlaceFloat32);
LV_DISPATCH_TABLE_OF(kVectorAddScalarInPlaceFloat32Table, ScalarInPlaceF32Fn, VectorAddScalarInPlaceFloat32);
LV_DISPATCH_TABLE_OF(kVectorMultiplyScalarInPlaceFloat64Table, ScalarInPlaceF64Fn, VectorMultiplyScalarInPlaceFloat64);
LV_DISPATCH_TABLE_OF(kVectorAddScalarInPlaceFloat64Table, ScalarInPlaceF64Fn, VectorAddScalarInPlaceFloat64);
LV_DISPATCH_TABLE_OF(kVectorMultiplyScalarFloat32Table, ScalarF32Fn, VectorMultiplyScalarFloat32);
LV_DISPATCH_TABLE_OF(kVectorAddScalarFloat32Table, ScalarF32Fn, VectorAddScalarFloat32);
LV_DISPATCH_TABLE_OF(kVectorMultiplyScalarInPlaceComplexFloat32Table, ScalarInPlaceC32Fn,
                     VectorMultiplyScalarInPlaceComplexFloat32);
LV_DISPATCH_TABLE_OF(kVectorMultiplyScalarComplexFloat32Table, ScalarC32Fn, VectorMultiplyScalarComplexFloat32);
LV_DISPATCH_TABLE_OF(kVectorAddFloat32Table, BinaryF32Fn, VectorAddFloat32);
LV_DISPATCH_TABLE_OF(kVectorMultiplyFloat32Table, BinaryF32Fn, VectorMultiplyFloat32);
LV_DISPATCH_TABLE_OF(kVectorMultiplyComplexFloat32Table, BinaryC32Fn, VectorMultiplyComplexFloat32);

}  // namespace

int32_t VectorMultiplyScalarInPlaceFloat32(float value, float* srcDst, int32_t n) {
  return kVectorMultiplyScalarInPlaceFloat32Table(value, srcDst, n);
}
int32_t VectorAddScalarInPlaceFloat32(float value, float* srcDst, int32_t n) {
  return kVectorAddScalarInPlaceFloat32Table(value, srcDst, n);
}
int32_t VectorMultiplyScalarInPlaceFloat64(double value, double* srcDst, int32_t n) {
  return kVectorMultiplyScalarInPlaceFloat64Table(value, srcDst, n);
}
int32_t VectorAddScalarInPlaceFloat64(double value, double* srcDst, int32_t n) {
  return kVectorAddScalarInPlaceFloat64Table(value, srcDst, n);
}
int32_t VectorMultiplyScalarFloat32(const float* src, float value, float* dst, int32_t n) {
  return kVectorMultiplyScalarFloat32Table(src, value, dst, n);
}
int32_t VectorAddScalarFloat32(const float* src, float value, float* dst, int32_t n) {
  return kVectorAddScalarFloat32Table(src, value, dst, n);
}
int32_t VectorMultiplyScalarInPlaceComplexFloat32(uint64_t value, ComplexFloat32* srcDst, int32_t n) {
  return kVectorMultiplyScalarInPlaceComplexFloat32Table(value, srcDst, n);
}
int32_t VectorMultiplyScalarComplexFloat32(const ComplexFloat32* src, uint64_t value, ComplexFloat32* dst, int32_t n) {
  return kVectorMultiplyScalarComplexFloat32Table(src, value, dst, n);
}
int32_t VectorAddFloat32(const float* src1, const float* src2, float* dst, int32_t n) {
  return kVectorAddFloat32Table(src1, src2, dst, n);
}
int32_t VectorMultiplyFloat32(const float* src1, const float* src2, float* dst, int32_t n) {
  return kVectorMultiplyFloat32Table(src1, src2, dst, n);
}
int32_t VectorMultiplyComplexFloat32(const ComplexFloat32* src1, const ComplexFloat32* src2, ComplexFloat32* dst,
                                     int32_t n) {
  return kVectorMultiplyComplexFloat32Table(src1, src2, dst, n);
}
