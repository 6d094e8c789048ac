// Natural logarithm of floats, processor class 2 (Ssse3).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(2);

#include "primitives/logarithm/logarithm.h"
#include "primitives/logarithm/logarithm_call.h"
#include "vmath/ln/ln.h"

namespace lv_ssse3 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_ssse3

int32_t VectorLnFloat32Ssse3(const float* src, float* dst, int32_t n) {
  return lv_logarithm::LnCall<lv_ssse3::Tag, &LnFloat32StubSsse3>(src, dst, n);
}
