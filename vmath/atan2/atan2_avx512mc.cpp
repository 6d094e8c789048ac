// Arctangent, class 6 (AVX-512 many-core): 32 elements a step, the tail one
// element at a time in a 16-lane vector with only lane 0 enabled. The
// significand quotient uses the 28-bit reciprocal helper.
// g++ 12 reports the undefined-value idiom inside the AVX-512 intrinsics
// headers (_mm512_undefined_ps) as maybe-uninitialized.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "cpu/isa_class.h"
LV_ASSERT_CLASS(6);

#include "vmath/atan2/atan2_classes.h"
#include "vmath/atan2/atan2_avx512.h"
#include "vmath/rcp28.h"

// The scalar special-value routine in VEX encoding only (no xmm16-31).
#pragma GCC push_options
#pragma GCC target("no-avx512f")
#include "vmath/atan2/atan2_special.h"
#pragma GCC pop_options

namespace lv_avx512mc {
namespace {
struct Tag {};
__m512 Rcp(__m512 v) { return lv_vmath_rcp28::Rcp28(v); }
}  // namespace
}  // namespace lv_avx512mc

int32_t Atan2Float32SpecialValuesAvx512ManyCore(const float* y, const float* x, float* result) {
  return lv_vmath_atan2::SpecialValue<lv_avx512mc::Tag, lv_vmath_atan2::LastSum::kE3AlBl, false>(y, x, result);
}

int32_t Atan2Float32KernelAvx512ManyCore(const float* y, const float* x, float* dst, int32_t n) {
  using namespace lv_vmath_atan2;
  using O = Zmm<lv_avx512mc::Tag, &lv_avx512mc::Rcp>;
  using P = Avx512Path<O>;
  if (n <= 0) {
    return -6;
  }
  if (y == nullptr || x == nullptr || dst == nullptr) {
    return -8;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  int32_t i = MainLoop16<lv_avx512mc::Tag, &lv_avx512mc::Rcp, &Atan2Float32SpecialValuesAvx512ManyCore>(y, x, dst, n);
  for (; i < n; ++i) {
    __m512 vy = _mm512_maskz_loadu_ps(1, y + i);
    __m512 vx = _mm512_maskz_loadu_ps(1, x + i);
    __m512 vr = P::Fast(vy, vx);
    const unsigned special = P::SpecialBits(vy, vx) & 1u;
    if (special != 0) {
      FixSpecialLanes16<O, 1, &Atan2Float32SpecialValuesAvx512ManyCore>(&vy, &vx, &vr, special);
    }
    _mm512_mask_storeu_ps(dst + i, 1, vr);
  }
  lv_vmath_env::LeaveKernel(env);
  return 0;
}
