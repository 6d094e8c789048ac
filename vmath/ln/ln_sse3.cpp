// Natural logarithm, class 1 (SSE3): 65-step table of float reciprocals and a
// cubic; within about 1.1 ulp. Blocks of 4 positive normal inputs, everything
// else one element at a time through the single-element path (bit-identical).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(1);

#include <emmintrin.h>

#include <cstring>

#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_constants.h"

namespace lv_sse3 {
namespace {

using namespace lv_vmath_ln;

__m128 Splat(float v) { return _mm_set1_ps(v); }

// ln of four positive normal floats.
__m128 LnFour(__m128i u) {
  const __m128i mBits = _mm_or_si128(_mm_and_si128(u, _mm_set1_epi32(0x007FFFFF)), _mm_set1_epi32(0x3F800000));
  const __m128 m = _mm_castsi128_ps(mBits);
  const __m128 e = _mm_cvtepi32_ps(_mm_sub_epi32(_mm_srli_epi32(u, 23), _mm_set1_epi32(127)));
  const __m128i j = _mm_srli_epi32(_mm_add_epi32(_mm_and_si128(_mm_srli_epi32(u, 16), _mm_set1_epi32(0x7F)), _mm_set1_epi32(1)), 1);
  alignas(16) int32_t idx[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(idx), j);
  __m128 hi = _mm_load_ps(reinterpret_cast<const float*>(kLnTableSse3 + 4 * idx[0]));
  __m128 lo = _mm_load_ps(reinterpret_cast<const float*>(kLnTableSse3 + 4 * idx[1]));
  __m128 rcp = _mm_load_ps(reinterpret_cast<const float*>(kLnTableSse3 + 4 * idx[2]));
  __m128 zero = _mm_load_ps(reinterpret_cast<const float*>(kLnTableSse3 + 4 * idx[3]));
  _MM_TRANSPOSE4_PS(hi, lo, rcp, zero);
  // m rounded half-up to a multiple of 1/64 (may be 2.0).
  const __m128 m1 = _mm_castsi128_ps(
      _mm_and_si128(_mm_add_epi32(mBits, _mm_set1_epi32(0x00010000)), _mm_set1_epi32(static_cast<int>(0xFFFE0000u))));
  const __m128 r = _mm_mul_ps(_mm_sub_ps(m, m1), rcp);
  const __m128 p = _mm_mul_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(Splat(kQ1), r), Splat(kQ0)), r), r);
  return _mm_add_ps(_mm_add_ps(_mm_add_ps(p, _mm_add_ps(_mm_mul_ps(e, Splat(kLn2Lo3)), lo)), r),
                    _mm_add_ps(_mm_mul_ps(e, Splat(kLn2Hi3)), hi));
}

}  // namespace
}  // namespace lv_sse3

float LnFloat32SpecialValuesSse3(const float* src, float* dst, int32_t i, int32_t* status) {
  using namespace lv_vmath_ln;
  uint32_t u;
  std::memcpy(&u, src + i, 4);
  if (u - 0x00800000u < 0x7F000000u) {
    return _mm_cvtss_f32(lv_sse3::LnFour(_mm_set1_epi32(static_cast<int>(u))));
  }
  if ((u & 0x7FFFFFFFu) == 0) {
    const float r = F32(0xFF800000u);
    dst[i] = r;
    *status = kVmathCodeSingularity;
    return r;
  }
  if (u >= 0x80000000u && u <= 0xFF800000u) {
    const float r = F32(kDefaultNaN);
    dst[i] = r;
    *status = kVmathCodeDomain;
    return r;
  }
  const __m128 scaled = _mm_mul_ss(_mm_set_ss(F32(u)), _mm_set_ss(kScale));
  if ((u & 0x7F800000u) == 0x7F800000u) {
    return _mm_cvtss_f32(scaled);  // +infinity stays, a NaN is made quiet
  }
  // Positive subnormal: x 2^126 is exact and normal.
  const __m128 ln = lv_sse3::LnFour(_mm_castps_si128(_mm_shuffle_ps(scaled, scaled, 0)));
  return _mm_cvtss_f32(_mm_add_ss(ln, _mm_set_ss(kSubnormalOffset)));
}

int32_t LnFloat32KernelSse3(const float* src, float* dst, int32_t n) {
  using namespace lv_sse3;
  if (dst == nullptr || src == nullptr) {
    return -8;
  }
  if (n <= 0) {
    return -6;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  int32_t status = 0;
  int32_t i = 0;
  const __m128i bias = _mm_set1_epi32(static_cast<int>(0x80800000u));
  const __m128i lim = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  while (i < n) {
    if (n - i >= 4) {
      const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      if (_mm_movemask_epi8(_mm_cmpgt_epi32(lim, _mm_sub_epi32(u, bias))) == 0xFFFF) {
        _mm_storeu_ps(dst + i, LnFour(u));
        i += 4;
        continue;
      }
    }
    do {
      dst[i] = LnFloat32SpecialValuesSse3(src, dst, i, &status);
      ++i;
    } while (i < n && (n - i) % 4 != 0);
  }
  lv_vmath_env::LeaveKernel(env);
  return status;
}
