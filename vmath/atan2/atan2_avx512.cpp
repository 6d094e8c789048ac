// Arctangent, class 7 (AVX-512 with DQ/BW/VL): 32 elements a step, the tail
// one element at a time with single-element loads and stores and 128-bit
// operations. The significand quotient uses the 14-bit reciprocal.
// g++ 12 reports the undefined-value idiom inside the AVX-512 intrinsics
// headers (_mm512_undefined_ps) as maybe-uninitialized.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include "cpu/isa_class.h"
LV_ASSERT_CLASS(7);

#include "vmath/atan2/atan2_classes.h"
#include "vmath/atan2/atan2_avx512.h"
#include "vmath/atan2/atan2_special.h"

namespace lv_avx512 {
namespace {
struct Tag {};
__m512 Rcp(__m512 v) { return _mm512_rcp14_ps(v); }
}  // namespace
}  // namespace lv_avx512

int32_t Atan2Float32SpecialValuesAvx512(const float* y, const float* x, float* result) {
  return lv_vmath_atan2::SpecialValue<lv_avx512::Tag, lv_vmath_atan2::LastSum::kE3AlBl, false>(y, x, result);
}

int32_t Atan2Float32KernelAvx512(const float* y, const float* x, float* dst, int32_t n) {
  using namespace lv_vmath_atan2;
  using O = Xmm<lv_avx512::Tag>;
  using P = Avx512Path<O>;
  if (n <= 0) {
    return -6;
  }
  if (y == nullptr || x == nullptr || dst == nullptr) {
    return -8;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  int32_t i = MainLoop16<lv_avx512::Tag, &lv_avx512::Rcp, &Atan2Float32SpecialValuesAvx512>(y, x, dst, n);
  for (; i < n; ++i) {
    __m128 vy = _mm_load_ss(y + i);
    __m128 vx = _mm_load_ss(x + i);
    __m128 vr = P::Fast(vy, vx);
    const unsigned special = P::SpecialBits(vy, vx) & 1u;
    if (special != 0) {
      FixSpecialLanes16<O, 1, &Atan2Float32SpecialValuesAvx512>(&vy, &vx, &vr, special);
    }
    _mm_store_ss(dst + i, vr);
  }
  lv_vmath_env::LeaveKernel(env);
  return 0;
}
