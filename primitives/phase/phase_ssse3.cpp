// Phase of complex floats, processor class 2 (Ssse3).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(2);

#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase.h"
#include "primitives/phase/phase_blocks.h"
#include "vmath/atan2/atan2.h"

namespace lv_ssse3 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_ssse3

int32_t VectorPhaseComplexFloat32Ssse3(const ComplexFloat32* src, float* dst, int32_t n) {
  return lv_phase::PhaseBlocks<lv_ssse3::Tag, &VectorSplitComplexFloat32Ssse3, &Atan2Float32StubSsse3>(src, dst, n);
}
