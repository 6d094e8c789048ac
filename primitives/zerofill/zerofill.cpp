// Entry points and dispatch tables of the zero fill.
#include "primitives/zerofill/zerofill.h"

#include "cpu/dispatch.h"

namespace {

using ZeroFillFn = int32_t (*)(void*, int32_t);

#define LV_ZERO_FILL_SLOTS(Name)                                                                     \
  &Name##Sse2, &Name##Sse3, &Name##Ssse3, &Name##Sse42, &Name##Avx, &Name##Avx2, &Name##Avx512ManyCore, \
      &Name##Avx512

LV_DISPATCH_TABLE(kVectorZeroFillUint8Table, ZeroFillFn, LV_ZERO_FILL_SLOTS(VectorZeroFillUint8));
LV_DISPATCH_TABLE(kVectorZeroFillInt16Table, ZeroFillFn, LV_ZERO_FILL_SLOTS(VectorZeroFillInt16));
LV_DISPATCH_TABLE(kVectorZeroFillInt32Table, ZeroFillFn, LV_ZERO_FILL_SLOTS(VectorZeroFillInt32));
LV_DISPATCH_TABLE(kVectorZeroFillFloat32Table, ZeroFillFn, LV_ZERO_FILL_SLOTS(VectorZeroFillInt32));
LV_DISPATCH_TABLE(kVectorZeroFillFloat64Table, ZeroFillFn, LV_ZERO_FILL_SLOTS(VectorZeroFillComplexFloat32));
LV_DISPATCH_TABLE(kVectorZeroFillComplexFloat32Table, ZeroFillFn,
                  LV_ZERO_FILL_SLOTS(VectorZeroFillComplexFloat32));

}  // namespace

int32_t VectorZeroFillUint8(void* dst, int32_t n) { return kVectorZeroFillUint8Table(dst, n); }
int32_t VectorZeroFillInt16(int16_t* dst, int32_t n) { return kVectorZeroFillInt16Table(dst, n); }
int32_t VectorZeroFillInt32(int32_t* dst, int32_t n) { return kVectorZeroFillInt32Table(dst, n); }
int32_t VectorZeroFillFloat32(float* dst, int32_t n) { return kVectorZeroFillFloat32Table(dst, n); }
int32_t VectorZeroFillFloat64(double* dst, int32_t n) { return kVectorZeroFillFloat64Table(dst, n); }
int32_t VectorZeroFillComplexFloat32(ComplexFloat32* dst, int32_t n) {
  return kVectorZeroFillComplexFloat32Table(dst, n);
}
