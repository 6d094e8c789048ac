// The natural logarithm of floats, built once per processor class
// (logarithm_sse2.cpp ... logarithm_avx512.cpp): each class's member checks
// the arguments, runs its own class's logarithm stub and turns the stub's
// warnings into statuses.
#include <cstdint>

#include "cpu/per_class.h"
#include "cpu/status.h"
#include "primitives/logarithm/logarithm_classes.h"
#include "vmath/ln/ln.h"

int32_t LV_NAME(VectorLnFloat32)(const float* src, float* dst, int32_t n) {
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
  }
  switch (LV_NAME(LnFloat32Stub)(src, dst, n)) {
    case 18:
      return StatusLnOfZero;
    case 19:
      return StatusLnOfNegative;
    default:
      return StatusOk;
  }
}
