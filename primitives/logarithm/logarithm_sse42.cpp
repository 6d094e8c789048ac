// Natural logarithm of floats, processor class 3 (Sse42).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(3);

#include "primitives/logarithm/logarithm.h"
#include "primitives/logarithm/logarithm_call.h"
#include "vmath/ln/ln.h"

namespace lv_sse42 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_sse42

int32_t VectorLnFloat32Sse42(const float* src, float* dst, int32_t n) {
  return lv_logarithm::LnCall<lv_sse42::Tag, &LnFloat32StubSse42>(src, dst, n);
}
