// Natural logarithm of floats, processor class 7 (Avx512).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include "primitives/logarithm/logarithm.h"
#include "primitives/logarithm/logarithm_call.h"
#include "vmath/ln/ln.h"

namespace lv_avx512 {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx512

int32_t VectorLnFloat32Avx512(const float* src, float* dst, int32_t n) {
  return lv_logarithm::LnCall<lv_avx512::Tag, &LnFloat32StubAvx512>(src, dst, n);
}
