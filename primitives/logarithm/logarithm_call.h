// The logarithm primitive's algorithm, instantiated with a tag type from each
// class's own namespace.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

namespace lv_logarithm {

using LnFn = int32_t (*)(const float*, float*, int32_t);

template <class Tag, LnFn kLn>
int32_t LnCall(const float* src, float* dst, int32_t n) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  switch (kLn(src, dst, n)) {
    case 18:
      return StatusLnOfZero;
    case 19:
      return StatusLnOfNegative;
    default:
      return StatusOk;
  }
}

}  // namespace lv_logarithm
