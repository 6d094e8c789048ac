// Natural logarithm, class 0 (SSE2): 65-step table of 8-bit reciprocals, a
// degree-4 series and split sums; within about 0.53 ulp. Blocks of 8 positive
// normal inputs, everything else one element at a time (bit-identical).
#include "cpu/isa_class.h"
LV_ASSERT_CLASS(0);

#include <emmintrin.h>

#include <cstring>

#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_constants.h"

namespace lv_sse2 {
namespace {

using namespace lv_vmath_ln;

__m128 Splat(float v) { return _mm_set1_ps(v); }

// ln of four positive normal floats (or of 2^-23 times them when their
// patterns are normalised subnormals: eAdjust = -23 and the near-one test off).
__m128 LnFour(__m128i u, __m128i origin, float eAdjust) {
  const __m128i mBits = _mm_or_si128(_mm_and_si128(u, _mm_set1_epi32(0x007FFFFF)), _mm_set1_epi32(0x3F800000));
  const __m128 m = _mm_castsi128_ps(mBits);
  const __m128 e = _mm_add_ps(_mm_cvtepi32_ps(_mm_sub_epi32(_mm_srli_epi32(u, 23), _mm_set1_epi32(127))), Splat(eAdjust));
  const __m128i j = _mm_srli_epi32(_mm_add_epi32(_mm_and_si128(_mm_srli_epi32(u, 16), _mm_set1_epi32(0x7F)), _mm_set1_epi32(1)), 1);
  alignas(16) int32_t idx[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(idx), j);
  __m128 hi = _mm_load_ps(reinterpret_cast<const float*>(kLnTableSse2 + 4 * idx[0]));
  __m128 lo = _mm_load_ps(reinterpret_cast<const float*>(kLnTableSse2 + 4 * idx[1]));
  __m128 rcp = _mm_load_ps(reinterpret_cast<const float*>(kLnTableSse2 + 4 * idx[2]));
  __m128 zero = _mm_load_ps(reinterpret_cast<const float*>(kLnTableSse2 + 4 * idx[3]));
  _MM_TRANSPOSE4_PS(hi, lo, rcp, zero);
  const __m128 mh = _mm_castsi128_ps(_mm_and_si128(mBits, _mm_set1_epi32(static_cast<int>(0xFFFFC000u))));
  const __m128 ml = _mm_sub_ps(m, mh);
  const __m128 a = _mm_sub_ps(_mm_mul_ps(mh, rcp), Splat(1.0f));
  __m128 b = _mm_mul_ps(ml, rcp);
  const __m128 r = _mm_add_ps(a, b);
  const __m128 p = _mm_mul_ps(
      _mm_mul_ps(_mm_add_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(Splat(kP2), r), Splat(kP1)), r), Splat(kP0)), r), r);
  __m128 high = _mm_add_ps(_mm_mul_ps(e, Splat(kLn2Hi)), _mm_add_ps(hi, a));
  const __m128 low = _mm_add_ps(_mm_mul_ps(e, Splat(kLn2Lo)), lo);
  // Strictly between 0.9921875 and 1.015625: b joins the high sum.
  const __m128 near = _mm_castsi128_ps(
      _mm_cmpgt_epi32(_mm_add_epi32(origin, _mm_set1_epi32(0x407E0000)), _mm_set1_epi32(0x7FFC0000)));
  high = _mm_add_ps(high, _mm_and_ps(near, b));
  b = _mm_andnot_ps(near, b);
  return _mm_add_ps(_mm_add_ps(_mm_add_ps(p, low), b), high);
}

bool PositiveNormal(uint32_t u) { return u - 0x00800000u < 0x7F000000u; }

// One element by the single-element path; returns its code.
int32_t LnOne(const float* src, float* dst, int32_t i) {
  uint32_t u;
  std::memcpy(&u, src + i, 4);
  float result;
  int32_t code = 0;
  if (PositiveNormal(u)) {
    const __m128i v = _mm_set1_epi32(static_cast<int>(u));
    result = _mm_cvtss_f32(LnFour(v, v, 0.0f));
  } else if ((u & 0x7FFFFFFFu) == 0) {
    result = F32(0xFF800000u);
    code = kVmathCodeSingularity;
  } else if (u < 0x00800000u) {
    // Positive subnormal: normalise in integers, compute with E lowered by 23.
    const int lead = 31 - __builtin_clz(u);
    const uint32_t norm = (static_cast<uint32_t>(lead + 1) << 23) | ((u << (23 - lead)) & 0x007FFFFFu);
    const __m128i v = _mm_set1_epi32(static_cast<int>(norm));
    // The near-one test reads the input's own pattern (false for a subnormal).
    result = _mm_cvtss_f32(LnFour(v, _mm_set1_epi32(static_cast<int>(u)), -23.0f));
  } else if (u >= 0x80000000u && u <= 0xFF800000u) {
    result = F32(kNaNSse2);
    code = kVmathCodeDomain;
  } else {
    std::memcpy(dst + i, &u, 4);  // +infinity and NaNs unchanged
    return 0;
  }
  dst[i] = result;
  return code;
}

}  // namespace
}  // namespace lv_sse2

int32_t LnFloat32KernelSse2(const float* src, float* dst, int32_t n) {
  using namespace lv_sse2;
  if (dst == nullptr || src == nullptr) {
    return -8;
  }
  if (n <= 0) {
    return -6;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  int32_t status = 0;
  int32_t i = 0;
  while (i < n) {
    if (n - i >= 8) {
      const __m128i u0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
      const __m128i u1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i + 4));
      // Positive normal: pattern - 0x00800000 below 0x7F000000 (unsigned),
      // tested as signed after a bias of 0x80000000.
      const __m128i bias = _mm_set1_epi32(static_cast<int>(0x80800000u));
      const __m128i lim = _mm_set1_epi32(static_cast<int>(0xFF000000u));
      const __m128i good0 = _mm_cmpgt_epi32(lim, _mm_sub_epi32(u0, bias));
      const __m128i good1 = _mm_cmpgt_epi32(lim, _mm_sub_epi32(u1, bias));
      if (_mm_movemask_epi8(_mm_and_si128(good0, good1)) == 0xFFFF) {
        const __m128 r0 = LnFour(u0, u0, 0.0f);
        const __m128 r1 = LnFour(u1, u1, 0.0f);
        _mm_storeu_ps(dst + i, r0);
        _mm_storeu_ps(dst + i + 4, r1);
        i += 8;
        continue;
      }
    }
    do {
      const int32_t code = LnOne(src, dst, i);
      if (code != 0) {
        status = code;
      }
      ++i;
    } while (i < n && (n - i) % 8 != 0);
  }
  lv_vmath_env::LeaveKernel(env);
  return status;
}
