// Entry points and dispatch tables of the sums.
#include "primitives/sum/sum.h"

#include "cpu/dispatch.h"
#include "primitives/sum/sum_classes.h"

namespace {

using SumFloatFn = int32_t (*)(const float*, int32_t, float*, int32_t);
using SumComplexFn = int32_t (*)(const ComplexFloat32*, int32_t, ComplexFloat32*, int32_t);

LV_DISPATCH_TABLE_OF(kVectorSumFloat32Table, SumFloatFn, VectorSumFloat32);
LV_DISPATCH_TABLE_OF(kVectorSumComplexFloat32Table, SumComplexFn, VectorSumComplexFloat32);

}  // namespace

int32_t VectorSumFloat32(const float* src, int32_t n, float* sum, int32_t hint) {
  return kVectorSumFloat32Table(src, n, sum, hint);
}
int32_t VectorSumComplexFloat32(const ComplexFloat32* src, int32_t n, ComplexFloat32* sum, int32_t hint) {
  return kVectorSumComplexFloat32Table(src, n, sum, hint);
}
