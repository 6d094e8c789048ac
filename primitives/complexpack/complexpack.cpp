// Entry points and dispatch tables of complex packing.
#include "primitives/complexpack/complexpack.h"

#include "cpu/dispatch.h"

namespace {

using SplitFn = int32_t (*)(const ComplexFloat32*, float*, float*, int32_t);
using RealPartFn = int32_t (*)(const ComplexFloat32*, float*, int32_t);
using JoinFn = int32_t (*)(const float*, const float*, ComplexFloat32*, int32_t);

LV_DISPATCH_TABLE(kSplitTable, SplitFn, &VectorSplitComplexFloat32Sse2, &VectorSplitComplexFloat32Sse3,
                  &VectorSplitComplexFloat32Ssse3, &VectorSplitComplexFloat32Sse42, &VectorSplitComplexFloat32Avx,
                  &VectorSplitComplexFloat32Avx2, &VectorSplitComplexFloat32Avx512ManyCore,
                  &VectorSplitComplexFloat32Avx512);
LV_DISPATCH_TABLE(kRealPartTable, RealPartFn, &VectorRealPartComplexFloat32Sse2, &VectorRealPartComplexFloat32Sse3,
                  &VectorRealPartComplexFloat32Ssse3, &VectorRealPartComplexFloat32Sse42,
                  &VectorRealPartComplexFloat32Avx, &VectorRealPartComplexFloat32Avx2,
                  &VectorRealPartComplexFloat32Avx512ManyCore, &VectorRealPartComplexFloat32Avx512);
LV_DISPATCH_TABLE(kJoinTable, JoinFn, &VectorJoinComplexFloat32Sse2, &VectorJoinComplexFloat32Sse3,
                  &VectorJoinComplexFloat32Ssse3, &VectorJoinComplexFloat32Sse42, &VectorJoinComplexFloat32Avx,
                  &VectorJoinComplexFloat32Avx2, &VectorJoinComplexFloat32Avx512ManyCore,
                  &VectorJoinComplexFloat32Avx512);

}  // namespace

int32_t VectorSplitComplexFloat32(const ComplexFloat32* src, float* dstRe, float* dstIm, int32_t n) {
  return kSplitTable(src, dstRe, dstIm, n);
}

int32_t VectorRealPartComplexFloat32(const ComplexFloat32* src, float* dstRe, int32_t n) {
  return kRealPartTable(src, dstRe, n);
}

int32_t VectorJoinComplexFloat32(const float* srcRe, const float* srcIm, ComplexFloat32* dst, int32_t n) {
  return kJoinTable(srcRe, srcIm, dst, n);
}
