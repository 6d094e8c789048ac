// Phase of complex floats, processor class 3 (Sse42).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(3);

#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase.h"
#include "primitives/phase/phase_blocks.h"
#include "vmath/atan2/atan2.h"

namespace lv_sse42 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_sse42

int32_t VectorPhaseComplexFloat32Sse42(const ComplexFloat32* src, float* dst, int32_t n) {
  return lv_phase::PhaseBlocks<lv_sse42::Tag, &VectorSplitComplexFloat32Sse42, &Atan2Float32StubSse42>(src, dst, n);
}
