// Natural logarithm of floats, processor class 5 (Avx2).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(5);

#include "primitives/logarithm/logarithm.h"
#include "primitives/logarithm/logarithm_call.h"
#include "vmath/ln/ln.h"

namespace lv_avx2 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx2

int32_t VectorLnFloat32Avx2(const float* src, float* dst, int32_t n) {
  return lv_logarithm::LnCall<lv_avx2::Tag, &LnFloat32StubAvx2>(src, dst, n);
}
