// The phase of complex floats, built once per processor class
// (phase_sse2.cpp ... phase_avx512.cpp): each class's member splits blocks of
// at most 128 elements with its own class's split into re and im and hands
// (im, re) to its own class's arctangent stub.
#include <cstdint>

#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/complexpack/complexpack_classes.h"
#include "primitives/phase/phase_classes.h"
#include "primitives/vector_types.h"
#include "vmath/atan2/atan2.h"

namespace LV_NS {
namespace {
constexpr int32_t kPhaseBlock = 128;
}  // namespace
}  // namespace LV_NS

// The statuses of the split and the arctangent are not looked at: with the
// checks done here and blocks of 1 to 128 neither can fail.
int32_t LV_NAME(VectorPhaseComplexFloat32)(const ComplexFloat32* src, float* dst, int32_t n) {
  using LV_NS::kPhaseBlock;
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  alignas(32) float re[kPhaseBlock];
  alignas(32) float im[kPhaseBlock];
  while (n > kPhaseBlock) {
    LV_NAME(VectorSplitComplexFloat32)(src, re, im, kPhaseBlock);
    LV_NAME(Atan2Float32Stub)(im, re, dst, kPhaseBlock);
    src += kPhaseBlock;
    dst += kPhaseBlock;
    n -= kPhaseBlock;
  }
  LV_NAME(VectorSplitComplexFloat32)(src, re, im, n);
  LV_NAME(Atan2Float32Stub)(im, re, dst, n);
  return StatusOk;
}
