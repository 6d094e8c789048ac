// The phase algorithm shared by the class implementations, instantiated with
// a tag type from each class's own namespace.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"
#include "primitives/vector_types.h"

namespace lv_phase {

using SplitFn = int32_t (*)(const ComplexFloat32*, float*, float*, int32_t);
using Atan2Fn = int32_t (*)(const float*, const float*, float*, int32_t);

inline constexpr int32_t kPhaseBlock = 128;

// Splits each block of at most 128 elements into re and im and hands (im, re)
// to the arctangent; the statuses of both are not looked at (with the checks
// done here and blocks of 1 to 128 neither can fail).
template <class Tag, SplitFn kSplit, Atan2Fn kAtan2>
int32_t PhaseBlocks(const ComplexFloat32* src, float* dst, int32_t n) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  alignas(32) float re[kPhaseBlock];
  alignas(32) float im[kPhaseBlock];
  while (n > kPhaseBlock) {
    kSplit(src, re, im, kPhaseBlock);
    kAtan2(im, re, dst, kPhaseBlock);
    src += kPhaseBlock;
    dst += kPhaseBlock;
    n -= kPhaseBlock;
  }
  kSplit(src, re, im, n);
  kAtan2(im, re, dst, n);
  return StatusOk;
}

}  // namespace lv_phase
