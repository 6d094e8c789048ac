// Entry point and dispatch table of the phase of complex floats.
#include "primitives/phase/phase.h"

#include "cpu/dispatch.h"

namespace {

using PhaseFn = int32_t (*)(const ComplexFloat32*, float*, int32_t);

LV_DISPATCH_TABLE(kPhaseTable, PhaseFn, &VectorPhaseComplexFloat32Sse2, &VectorPhaseComplexFloat32Sse3,
                  &VectorPhaseComplexFloat32Ssse3, &VectorPhaseComplexFloat32Sse42, &VectorPhaseComplexFloat32Avx,
                  &VectorPhaseComplexFloat32Avx2, &VectorPhaseComplexFloat32Avx512ManyCore,
                  &VectorPhaseComplexFloat32Avx512);

}  // namespace

int32_t VectorPhaseComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n) {
  return kPhaseTable(src, dst, n);
}
