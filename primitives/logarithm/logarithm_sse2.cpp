// Natural logarithm of floats, processor class 0 (Sse2).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(0);

#include "primitives/logarithm/logarithm.h"
#include "primitives/logarithm/logarithm_call.h"
#include "vmath/ln/ln.h"

namespace lv_sse2 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_sse2

int32_t VectorLnFloat32Sse2(const float* src, float* dst, int32_t n) {
  return lv_logarithm::LnCall<lv_sse2::Tag, &LnFloat32StubSse2>(src, dst, n);
}
