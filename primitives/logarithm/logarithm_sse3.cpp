// Natural logarithm of floats, processor class 1 (Sse3).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(1);

#include "primitives/logarithm/logarithm.h"
#include "primitives/logarithm/logarithm_call.h"
#include "vmath/ln/ln.h"

namespace lv_sse3 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_sse3

int32_t VectorLnFloat32Sse3(const float* src, float* dst, int32_t n) {
  return lv_logarithm::LnCall<lv_sse3::Tag, &LnFloat32StubSse3>(src, dst, n);
}
