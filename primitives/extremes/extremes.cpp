// Entry points and dispatch tables of the extremes.
#include "primitives/extremes/extremes.h"

#include "cpu/dispatch.h"
#include "primitives/extremes/extremes_classes.h"

namespace {

using ValueF32Fn = int32_t (*)(const float*, int32_t, float*);
using ValueF64Fn = int32_t (*)(const double*, int32_t, double*);
using IndexF32Fn = int32_t (*)(const float*, int32_t, float*, int32_t*);

LV_DISPATCH_TABLE_OF(kMaxFloat32Table, ValueF32Fn, VectorMaxFloat32);
LV_DISPATCH_TABLE_OF(kMinFloat32Table, ValueF32Fn, VectorMinFloat32);
LV_DISPATCH_TABLE_OF(kMaxFloat64Table, ValueF64Fn, VectorMaxFloat64);
LV_DISPATCH_TABLE_OF(kMinFloat64Table, ValueF64Fn, VectorMinFloat64);
LV_DISPATCH_TABLE_OF(kMaxIndexFloat32Table, IndexF32Fn, VectorMaxIndexFloat32);
LV_DISPATCH_TABLE_OF(kMinIndexFloat32Table, IndexF32Fn, VectorMinIndexFloat32);

}  // namespace

int32_t VectorMaxFloat32(const float* src, int32_t n, float* result) { return kMaxFloat32Table(src, n, result); }
int32_t VectorMinFloat32(const float* src, int32_t n, float* result) { return kMinFloat32Table(src, n, result); }
int32_t VectorMaxFloat64(const double* src, int32_t n, double* result) { return kMaxFloat64Table(src, n, result); }
int32_t VectorMinFloat64(const double* src, int32_t n, double* result) { return kMinFloat64Table(src, n, result); }
int32_t VectorMaxIndexFloat32(const float* src, int32_t n, float* value, int32_t* index) {
  return kMaxIndexFloat32Table(src, n, value, index);
}
int32_t VectorMinIndexFloat32(const float* src, int32_t n, float* value, int32_t* index) {
  return kMinIndexFloat32Table(src, n, value, index);
}
