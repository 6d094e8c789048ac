// Entry point and dispatch table of the phase of complex floats.
#include "primitives/phase/phase.h"

#include "cpu/dispatch.h"
#include "primitives/phase/phase_classes.h"

namespace {

using PhaseFn = int32_t (*)(const ComplexFloat32*, float*, int32_t);

LV_DISPATCH_TABLE_OF(kPhaseTable, PhaseFn, VectorPhaseComplexFloat32);

}  // namespace

int32_t VectorPhaseComplexFloat32(const ComplexFloat32* src, float* dst, int32_t n) {
  return kPhaseTable(src, dst, n);
}
