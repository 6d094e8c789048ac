// The logarithm on 16 lanes, classes 6 and 7: the processor's mantissa in
// [0.75, 1.5) and exponent, 16 segments of the mantissa with a quartic each
// (coefficients picked by in-register permutes), fused multiply-adds. Only
// AVX-512 Foundation operations, but for class 7's special-lane test
// (fpclass, DQ). Part of the logarithm body (ln_body.inl), inside the class
// namespace.

namespace LV_NS {
namespace {

struct Ln16 {
  using V = __m512;
  static constexpr int kLanes = 16;
  [[gnu::always_inline]] static inline V Row(int r) {
    return _mm512_load_ps(reinterpret_cast<const float*>(kLnSegmentTable[r]));
  }
  // The logarithm of 16 lanes and the mask of lanes the routine must finish.
  [[gnu::always_inline]] static inline V Ln(V x, __mmask16& special) {
    const V m = _mm512_getmant_ps(x, _MM_MANT_NORM_p75_1p5, _MM_MANT_SIGN_nan);
    const V e = _mm512_sub_ps(_mm512_getexp_ps(x), _mm512_getexp_ps(m));
    const V f = _mm512_sub_ps(m, _mm512_set1_ps(1.0f));
    const __m512i s = _mm512_and_si512(_mm512_srli_epi32(_mm512_castps_si512(m), 19), _mm512_set1_epi32(0xF));
    V q = _mm512_fmadd_ps(_mm512_permutexvar_ps(s, Row(3)), f, _mm512_permutexvar_ps(s, Row(2)));
    q = _mm512_fmadd_ps(q, f, _mm512_permutexvar_ps(s, Row(1)));
    q = _mm512_fmadd_ps(q, f, _mm512_permutexvar_ps(s, Row(0)));
    const V eLn2 = _mm512_mul_ps(e, _mm512_set1_ps(kLn2));
    if constexpr (kClass == 7) {
      // +0, -0, +infinity, -infinity, negative finite.
      special = _mm512_fpclass_ps_mask(x, 0x02 | 0x04 | 0x08 | 0x10 | 0x40);
    } else {
      const V d = _mm512_sub_ps(eLn2, eLn2);
      special = _mm512_cmp_ps_mask(d, d, _CMP_UNORD_Q);
    }
    return _mm512_fmadd_ps(q, f, eLn2);
  }
  [[gnu::always_inline]] static inline void Store(float* p, V v) { _mm512_store_ps(p, v); }
  [[gnu::always_inline]] static inline V Load(const float* p) { return _mm512_load_ps(p); }
};

// Blocks of 32 from the start, then single elements (lane 0 of a vector).
template <class O, LnSpecialFn kSpecial>
[[gnu::always_inline]] inline int32_t SegmentKernel(const float* src, float* dst, int32_t n, int32_t* cell) {
  if (n <= 0) {
    return StatusBadCount;
  }
  if (src == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  int32_t status = 0;
  const int32_t end = n & ~31;
  int32_t i = 0;
  for (; i < end; i += 32) {
    __m512 x[2] = {_mm512_loadu_ps(src + i), _mm512_loadu_ps(src + i + 16)};
    __mmask16 s0;
    __mmask16 s1;
    __m512 v[2] = {O::Ln(x[0], s0), O::Ln(x[1], s1)};
    const unsigned bits = static_cast<unsigned>(s0) | (static_cast<unsigned>(s1) << 16);
    if (bits != 0) [[unlikely]] {
      status = FixLnLanes<O, 2, kSpecial>(v, x, bits, src, dst, i, status, cell);
    }
    _mm512_storeu_ps(dst + i, v[0]);
    _mm512_storeu_ps(dst + i + 16, v[1]);
  }
  for (; i < n; ++i) {
    __m512 x = _mm512_maskz_loadu_ps(1, src + i);
    __mmask16 s;
    __m512 v = O::Ln(x, s);
    const unsigned bits = static_cast<unsigned>(s) & 1u;
    if (bits != 0) {
      status = FixLnLanes<O, 1, kSpecial>(&v, &x, bits, src, dst, i, status, cell);
    }
    _mm512_mask_storeu_ps(dst + i, 1, v);
  }
  lv_vmath_env::LeaveKernel(env);
  return status;
}

// The class's kernel.
[[gnu::always_inline]] inline int32_t Kernel(const float* src, float* dst, int32_t n) {
  return SegmentKernel<Ln16, &LV_NAME(LnFloat32SpecialValues)>(src, dst, n, &g_statusCell);
}

}  // namespace
}  // namespace LV_NS
