// Entry point and dispatch table of the natural logarithm of floats.
#include "primitives/logarithm/logarithm.h"

#include "cpu/dispatch.h"
#include "primitives/logarithm/logarithm_classes.h"

namespace {

using LnFn = int32_t (*)(const float*, float*, int32_t);

LV_DISPATCH_TABLE_OF(kLnTable, LnFn, VectorLnFloat32);

}  // namespace

int32_t VectorLnFloat32(const float* src, float* dst, int32_t n) { return kLnTable(src, dst, n); }
