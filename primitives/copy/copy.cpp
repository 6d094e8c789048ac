// Entry points and dispatch tables of the copy.
#include "primitives/copy/copy.h"

#include "cpu/dispatch.h"
#include "primitives/copy/copy_classes.h"

namespace {

using CopyFn = int32_t (*)(const void*, void*, int32_t);

LV_DISPATCH_TABLE_OF(kVectorCopyInt16Table, CopyFn, VectorCopyInt16);
LV_DISPATCH_TABLE_OF(kVectorCopyFloat32Table, CopyFn, VectorCopyFloat32);
// Doubles are copied by the complex members: same element size.
LV_DISPATCH_TABLE_OF(kVectorCopyFloat64Table, CopyFn, VectorCopyComplexFloat32);
LV_DISPATCH_TABLE_OF(kVectorCopyComplexFloat32Table, CopyFn, VectorCopyComplexFloat32);

}  // namespace

int32_t VectorCopyInt16(const int16_t* src, int16_t* dst, int32_t n) { return kVectorCopyInt16Table(src, dst, n); }
int32_t VectorCopyFloat32(const float* src, float* dst, int32_t n) { return kVectorCopyFloat32Table(src, dst, n); }
int32_t VectorCopyFloat64(const double* src, double* dst, int32_t n) { return kVectorCopyFloat64Table(src, dst, n); }
int32_t VectorCopyComplexFloat32(const ComplexFloat32* src, ComplexFloat32* dst, int32_t n) {
  return kVectorCopyComplexFloat32Table(src, dst, n);
}
