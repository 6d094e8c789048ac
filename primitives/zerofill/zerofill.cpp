// Entry points and dispatch tables of the zero fill.
#include "primitives/zerofill/zerofill.h"

#include "cpu/dispatch.h"
#include "primitives/zerofill/zerofill_classes.h"

namespace {

using ZeroFillFn = int32_t (*)(void*, int32_t);

LV_DISPATCH_TABLE_OF(kVectorZeroFillUint8Table, ZeroFillFn, VectorZeroFillUint8);
LV_DISPATCH_TABLE_OF(kVectorZeroFillInt16Table, ZeroFillFn, VectorZeroFillInt16);
LV_DISPATCH_TABLE_OF(kVectorZeroFillInt32Table, ZeroFillFn, VectorZeroFillInt32);
// Floats and doubles are filled by the members of their element size.
LV_DISPATCH_TABLE_OF(kVectorZeroFillFloat32Table, ZeroFillFn, VectorZeroFillInt32);
LV_DISPATCH_TABLE_OF(kVectorZeroFillFloat64Table, ZeroFillFn, VectorZeroFillComplexFloat32);
LV_DISPATCH_TABLE_OF(kVectorZeroFillComplexFloat32Table, ZeroFillFn, VectorZeroFillComplexFloat32);

}  // namespace

int32_t VectorZeroFillUint8(void* dst, int32_t n) { return kVectorZeroFillUint8Table(dst, n); }
int32_t VectorZeroFillInt16(int16_t* dst, int32_t n) { return kVectorZeroFillInt16Table(dst, n); }
int32_t VectorZeroFillInt32(int32_t* dst, int32_t n) { return kVectorZeroFillInt32Table(dst, n); }
int32_t VectorZeroFillFloat32(float* dst, int32_t n) { return kVectorZeroFillFloat32Table(dst, n); }
int32_t VectorZeroFillFloat64(double* dst, int32_t n) { return kVectorZeroFillFloat64Table(dst, n); }
int32_t VectorZeroFillComplexFloat32(ComplexFloat32* dst, int32_t n) {
  return kVectorZeroFillComplexFloat32Table(dst, n);
}
