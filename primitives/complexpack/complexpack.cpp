// Entry points and dispatch tables of complex packing.
#include "primitives/complexpack/complexpack.h"

#include "cpu/dispatch.h"
#include "primitives/complexpack/complexpack_classes.h"

namespace {

using SplitFn = int32_t (*)(const ComplexFloat32*, float*, float*, int32_t);
using RealPartFn = int32_t (*)(const ComplexFloat32*, float*, int32_t);
using JoinFn = int32_t (*)(const float*, const float*, ComplexFloat32*, int32_t);

LV_DISPATCH_TABLE_OF(kSplitTable, SplitFn, VectorSplitComplexFloat32);
LV_DISPATCH_TABLE_OF(kRealPartTable, RealPartFn, VectorRealPartComplexFloat32);
LV_DISPATCH_TABLE_OF(kJoinTable, JoinFn, VectorJoinComplexFloat32);

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
