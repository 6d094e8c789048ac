// Phase of complex floats, processor class 4 (Avx).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(4);

#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase.h"
#include "primitives/phase/phase_blocks.h"
#include "vmath/atan2/atan2.h"

namespace lv_avx {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx

int32_t VectorPhaseComplexFloat32Avx(const ComplexFloat32* src, float* dst, int32_t n) {
  return lv_phase::PhaseBlocks<lv_avx::Tag, &VectorSplitComplexFloat32Avx, &Atan2Float32StubAvx>(src, dst, n);
}
