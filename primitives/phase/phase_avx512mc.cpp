// Phase of complex floats, processor class 6 (Avx512ManyCore).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(6);

#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase.h"
#include "primitives/phase/phase_blocks.h"
#include "vmath/atan2/atan2.h"

namespace lv_avx512mc {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx512mc

int32_t VectorPhaseComplexFloat32Avx512ManyCore(const ComplexFloat32* src, float* dst, int32_t n) {
  return lv_phase::PhaseBlocks<lv_avx512mc::Tag, &VectorSplitComplexFloat32Avx512ManyCore, &Atan2Float32StubAvx512ManyCore>(src, dst, n);
}
