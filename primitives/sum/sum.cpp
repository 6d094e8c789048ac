// Entry points and dispatch tables of the sums.
#include "primitives/sum/sum.h"

#include "cpu/dispatch.h"

using SumFloatFn = int32_t (*)(const float*, int32_t, float*, int32_t);
using SumComplexFn = int32_t (*)(const ComplexFloat32*, int32_t, ComplexFloat32*, int32_t);

LV_DISPATCH_TABLE(kVectorSumFloat32Table, SumFloatFn, &VectorSumFloat32Sse2, &VectorSumFloat32Sse3,
                  &VectorSumFloat32Ssse3, &VectorSumFloat32Sse42, &VectorSumFloat32Avx, &VectorSumFloat32Avx2,
                  &VectorSumFloat32Avx512ManyCore, &VectorSumFloat32Avx512);
LV_DISPATCH_TABLE(kVectorSumComplexFloat32Table, SumComplexFn, &VectorSumComplexFloat32Sse2,
                  &VectorSumComplexFloat32Sse3, &VectorSumComplexFloat32Ssse3, &VectorSumComplexFloat32Sse42,
                  &VectorSumComplexFloat32Avx, &VectorSumComplexFloat32Avx2,
                  &VectorSumComplexFloat32Avx512ManyCore, &VectorSumComplexFloat32Avx512);

int32_t VectorSumFloat32(const float* src, int32_t n, float* sum, int32_t hint) {
  return kVectorSumFloat32Table(src, n, sum, hint);
}
int32_t VectorSumComplexFloat32(const ComplexFloat32* src, int32_t n, ComplexFloat32* sum, int32_t hint) {
  return kVectorSumComplexFloat32Table(src, n, sum, hint);
}
