// Natural logarithm of floats, processor class 6 (Avx512ManyCore).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(6);

#include "primitives/logarithm/logarithm.h"
#include "primitives/logarithm/logarithm_call.h"
#include "vmath/ln/ln.h"

namespace lv_avx512mc {
namespace {
struct Tag {};
}  // namespace
}  // namespace lv_avx512mc

int32_t VectorLnFloat32Avx512ManyCore(const float* src, float* dst, int32_t n) {
  return lv_logarithm::LnCall<lv_avx512mc::Tag, &LnFloat32StubAvx512ManyCore>(src, dst, n);
}
