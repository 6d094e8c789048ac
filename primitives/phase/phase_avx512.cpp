// Phase of complex floats, processor class 7 (Avx512).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase.h"
#include "primitives/phase/phase_blocks.h"
#include "vmath/atan2/atan2.h"

namespace lv_avx512 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx512

int32_t VectorPhaseComplexFloat32Avx512(const ComplexFloat32* src, float* dst, int32_t n) {
  return lv_phase::PhaseBlocks<lv_avx512::Tag, &VectorSplitComplexFloat32Avx512, &Atan2Float32StubAvx512>(src, dst, n);
}
