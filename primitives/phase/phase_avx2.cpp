// Phase of complex floats, processor class 5 (Avx2).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(5);

#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase.h"
#include "primitives/phase/phase_blocks.h"
#include "vmath/atan2/atan2.h"

namespace lv_avx2 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx2

int32_t VectorPhaseComplexFloat32Avx2(const ComplexFloat32* src, float* dst, int32_t n) {
  return lv_phase::PhaseBlocks<lv_avx2::Tag, &VectorSplitComplexFloat32Avx2, &Atan2Float32StubAvx2>(src, dst, n);
}
