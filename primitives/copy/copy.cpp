// Entry points and dispatch tables of the copy.
#include "primitives/copy/copy.h"

#include "cpu/dispatch.h"

namespace {

using CopyFn = int32_t (*)(const void*, void*, int32_t);

#define LV_COPY_SLOTS(Name)                                                                          \
  &Name##Sse2, &Name##Sse3, &Name##Ssse3, &Name##Sse42, &Name##Avx, &Name##Avx2, &Name##Avx512ManyCore, \
      &Name##Avx512

LV_DISPATCH_TABLE(kVectorCopyInt16Table, CopyFn, LV_COPY_SLOTS(VectorCopyInt16));
LV_DISPATCH_TABLE(kVectorCopyFloat32Table, CopyFn, LV_COPY_SLOTS(VectorCopyFloat32));
LV_DISPATCH_TABLE(kVectorCopyFloat64Table, CopyFn, LV_COPY_SLOTS(VectorCopyComplexFloat32));
LV_DISPATCH_TABLE(kVectorCopyComplexFloat32Table, CopyFn, LV_COPY_SLOTS(VectorCopyComplexFloat32));

}  // namespace

int32_t VectorCopyInt16(const int16_t* src, int16_t* dst, int32_t n) { return kVectorCopyInt16Table(src, dst, n); }
int32_t VectorCopyFloat32(const float* src, float* dst, int32_t n) { return kVectorCopyFloat32Table(src, dst, n); }
int32_t VectorCopyFloat64(const double* src, double* dst, int32_t n) { return kVectorCopyFloat64Table(src, dst, n); }
int32_t VectorCopyComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n) {
  return kVectorCopyComplexFloat32Table(src, dst, n);
}
