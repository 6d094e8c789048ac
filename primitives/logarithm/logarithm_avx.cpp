// Natural logarithm of floats, processor class 4 (Avx).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(4);

#include "primitives/logarithm/logarithm.h"
#include "primitives/logarithm/logarithm_call.h"
#include "vmath/ln/ln.h"

namespace lv_avx {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx

int32_t VectorLnFloat32Avx(const float* src, float* dst, int32_t n) {
  return lv_logarithm::LnCall<lv_avx::Tag, &LnFloat32StubAvx>(src, dst, n);
}
