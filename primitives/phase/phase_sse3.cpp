// Phase of complex floats, processor class 1 (Sse3).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(1);

#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase.h"
#include "primitives/phase/phase_blocks.h"
#include "vmath/atan2/atan2.h"

namespace lv_sse3 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_sse3

int32_t VectorPhaseComplexFloat32Sse3(const ComplexFloat32* src, float* dst, int32_t n) {
  return lv_phase::PhaseBlocks<lv_sse3::Tag, &VectorSplitComplexFloat32Sse3, &Atan2Float32StubSse3>(src, dst, n);
}
