// Entry point and dispatch table of the natural logarithm of floats.
#include "primitives/logarithm/logarithm.h"

#include "cpu/dispatch.h"

namespace {

using LnFn = int32_t (*)(const float*, float*, int32_t);

LV_DISPATCH_TABLE(kLnTable, LnFn, &VectorLnFloat32Sse2, &VectorLnFloat32Sse3, &VectorLnFloat32Ssse3,
                  &VectorLnFloat32Sse42, &VectorLnFloat32Avx, &VectorLnFloat32Avx2, &VectorLnFloat32Avx512ManyCore,
                  &VectorLnFloat32Avx512);

}  // namespace

int32_t VectorLnFloat32(const float* src, float* dst, int32_t n) { return kLnTable(src, dst, n); }
