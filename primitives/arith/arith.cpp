// Entry points and dispatch tables of the scalar and element-wise arithmetic.
#include "primitives/arith/arith.h"

#include "cpu/dispatch.h"

#define LV_ARITH_TABLE(Name, FnType)                                                                    \
  LV_DISPATCH_TABLE(k##Name##Table, FnType, &Name##Sse2, &Name##Sse3, &Name##Ssse3, &Name##Sse42, &Name##Avx, \
                    &Name##Avx2, &Name##Avx512ManyCore, &Name##Avx512)

using ScalarInPlaceF32Fn = int32_t (*)(float, float*, int32_t);
using ScalarInPlaceF64Fn = int32_t (*)(double, double*, int32_t);
using ScalarF32Fn = int32_t (*)(const float*, float, float*, int32_t);
using ScalarInPlaceC32Fn = int32_t (*)(uint64_t, ComplexFloat32*, int32_t);
using ScalarC32Fn = int32_t (*)(const ComplexFloat32*, uint64_t, ComplexFloat32*, int32_t);
using BinaryF32Fn = int32_t (*)(const float*, const float*, float*, int32_t);
using BinaryC32Fn = int32_t (*)(const ComplexFloat32*, const ComplexFloat32*, ComplexFloat32*, int32_t);

LV_ARITH_TABLE(VectorMultiplyScalarInPlaceFloat32, ScalarInPlaceF32Fn);
LV_ARITH_TABLE(VectorAddScalarInPlaceFloat32, ScalarInPlaceF32Fn);
LV_ARITH_TABLE(VectorMultiplyScalarInPlaceFloat64, ScalarInPlaceF64Fn);
LV_ARITH_TABLE(VectorAddScalarInPlaceFloat64, ScalarInPlaceF64Fn);
LV_ARITH_TABLE(VectorMultiplyScalarFloat32, ScalarF32Fn);
LV_ARITH_TABLE(VectorAddScalarFloat32, ScalarF32Fn);
LV_ARITH_TABLE(VectorMultiplyScalarInPlaceComplexFloat32, ScalarInPlaceC32Fn);
LV_ARITH_TABLE(VectorMultiplyScalarComplexFloat32, ScalarC32Fn);
LV_ARITH_TABLE(VectorAddFloat32, BinaryF32Fn);
LV_ARITH_TABLE(VectorMultiplyFloat32, BinaryF32Fn);
LV_ARITH_TABLE(VectorMultiplyComplexFloat32, BinaryC32Fn);

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
