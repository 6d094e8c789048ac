// The four-lane logarithm kernels of classes 0 to 2 (SSE2 operations only;
// class 3 runs the class-2 kernel). Part of the logarithm body (ln_body.inl),
// inside the class namespace.
//   class 0: 65-step table of 8-bit reciprocals, a degree-4 series and split
//     sums; within about 0.53 ulp. Blocks of 8 positive normal inputs,
//     everything else one element at a time (bit-identical).
//   class 1: 65-step table of float reciprocals and a cubic; within about 1.1
//     ulp. Blocks of 4 positive normal inputs, everything else one element at
//     a time through the single-element path (bit-identical).
//   class 2: the table-free polynomial of classes 2 to 5 on four lanes (the
//     ops layer of the polynomial kernel in ln_body.inl).

#if LV_CLASS == 0

namespace LV_NS {
namespace {

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

// The class's kernel.
[[gnu::always_inline]] inline int32_t Kernel(const float* src, float* dst, int32_t n) {
  if (dst == nullptr || src == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
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

}  // namespace
}  // namespace LV_NS

#elif LV_CLASS == 1

namespace LV_NS {
namespace {

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
}  // namespace LV_NS

float LV_NAME(LnFloat32SpecialValues)(const float* src, float* dst, int32_t i, int32_t* status) {
  using namespace lv_vmath_ln;
  using LV_NS::LnFour;
  uint32_t u;
  std::memcpy(&u, src + i, 4);
  if (u - 0x00800000u < 0x7F000000u) {
    return _mm_cvtss_f32(LnFour(_mm_set1_epi32(static_cast<int>(u))));
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
  const __m128 ln = LnFour(_mm_castps_si128(_mm_shuffle_ps(scaled, scaled, 0)));
  return _mm_cvtss_f32(_mm_add_ss(ln, _mm_set_ss(kSubnormalOffset)));
}

namespace LV_NS {
namespace {

// The class's kernel.
[[gnu::always_inline]] inline int32_t Kernel(const float* src, float* dst, int32_t n) {
  if (dst == nullptr || src == nullptr) {
    return StatusNullPointer;
  }
  if (n <= 0) {
    return StatusBadCount;
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
      dst[i] = LV_NAME(LnFloat32SpecialValues)(src, dst, i, &status);
      ++i;
    } while (i < n && (n - i) % 4 != 0);
  }
  lv_vmath_env::LeaveKernel(env);
  return status;
}

}  // namespace
}  // namespace LV_NS

#else

namespace LV_NS {
namespace {

// Four lanes, SSE2.
struct Ln4 {
  using V = __m128;
  static constexpr int kLanes = 4;
  [[gnu::always_inline]] static inline int SpecialBits(V x) {
    const __m128i u = _mm_castps_si128(x);
    const __m128i t = _mm_add_epi32(u, _mm_set1_epi32(0x00800000));
    return _mm_movemask_ps(_mm_castsi128_ps(_mm_cmplt_epi32(t, _mm_set1_epi32(0x01000000))));
  }
  [[gnu::always_inline]] static inline V Ln(V x) {
    const __m128i u = _mm_castps_si128(x);
    const __m128i v = _mm_sub_epi32(u, _mm_set1_epi32(static_cast<int>(kTwoThirdsBits)));
    const V k = _mm_cvtepi32_ps(_mm_srai_epi32(v, 23));
    const V m = _mm_castsi128_ps(
        _mm_add_epi32(_mm_and_si128(v, _mm_set1_epi32(0x007FFFFF)), _mm_set1_epi32(static_cast<int>(kTwoThirdsBits))));
    const V f = _mm_sub_ps(m, _mm_set1_ps(1.0f));
    V q = _mm_set1_ps(kC9);
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC8));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC7));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC6));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC5));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC4));
    q = _mm_add_ps(_mm_mul_ps(q, f), _mm_set1_ps(kC3));
    q = _mm_mul_ps(_mm_mul_ps(q, f), f);
    return _mm_add_ps(_mm_add_ps(f, q), _mm_mul_ps(k, _mm_set1_ps(kLn2)));
  }
  [[gnu::always_inline]] static inline V LoadPartial(const float* p, int m) {
    alignas(16) float t[4] = {kFill, kFill, kFill, kFill};
    for (int i = 0; i < m; ++i) {
      t[i] = p[i];
    }
    return _mm_load_ps(t);
  }
  [[gnu::always_inline]] static inline void StorePartial(float* p, V v, int m) {
    alignas(16) float t[4];
    _mm_store_ps(t, v);
    for (int i = 0; i < m; ++i) {
      p[i] = t[i];
    }
  }
  [[gnu::always_inline]] static inline V LoadU(const float* p) { return _mm_loadu_ps(p); }
  [[gnu::always_inline]] static inline void StoreU(float* p, V v) { _mm_storeu_ps(p, v); }
  [[gnu::always_inline]] static inline void Store(float* p, V v) { _mm_store_ps(p, v); }
  [[gnu::always_inline]] static inline V Load(const float* p) { return _mm_load_ps(p); }
};

// The class's kernel.
[[gnu::always_inline]] inline int32_t Kernel(const float* src, float* dst, int32_t n) {
  return PolyKernel<Ln4, &LV_NAME(LnFloat32SpecialValues)>(src, dst, n, &g_statusCell);
}

}  // namespace
}  // namespace LV_NS

#endif
