// Phase of complex floats, processor class 0 (Sse2).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(0);

#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase.h"
#include "primitives/phase/phase_blocks.h"
#include "vmath/atan2/atan2.h"

namespace lv_sse2 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_sse2

int32_t VectorPhaseComplexFloat32Sse2(const ComplexFloat32* src, float* dst, int32_t n) {
  return lv_phase::PhaseBlocks<lv_sse2::Tag, &VectorSplitComplexFloat32Sse2, &Atan2Float32StubSse2>(src, dst, n);
}
