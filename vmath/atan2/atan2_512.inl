// The sixteen-lane arctangent kernels of classes 6 (AVX-512 many-core) and 7
// (AVX-512 with DQ/BW/VL). Part of the arctangent body (atan2_body.inl),
// inside the class namespace.
//
// The quotient algorithm with the division replaced by a reciprocal of the
// divisor's significand refined by one Newton step, and every multiplication
// of the polynomial and of the final step fused with the addition after it.
// The body is written once over a small ops layer: 16 lanes in zmm registers
// (both classes; only AVX-512 Foundation operations, so class 6 may use it)
// and, for class 7's one-element tail, 128-bit registers (needs VL). The
// reciprocal is class 6's 28-bit helper or class 7's 14-bit instruction.

namespace LV_NS {
namespace {

// 16 lanes.
struct Zmm {
  using V = __m512;
  using M = __mmask16;
  static constexpr int kLanes = 16;
  [[gnu::always_inline]] static inline V Set(float v) { return _mm512_set1_ps(v); }
  [[gnu::always_inline]] static inline V Bits(uint32_t b) { return _mm512_castsi512_ps(_mm512_set1_epi32(static_cast<int>(b))); }
  [[gnu::always_inline]] static inline V And(V a, V b) {
    return _mm512_castsi512_ps(_mm512_and_si512(_mm512_castps_si512(a), _mm512_castps_si512(b)));
  }
  [[gnu::always_inline]] static inline V Or(V a, V b) {
    return _mm512_castsi512_ps(_mm512_or_si512(_mm512_castps_si512(a), _mm512_castps_si512(b)));
  }
  [[gnu::always_inline]] static inline V Xor(V a, V b) {
    return _mm512_castsi512_ps(_mm512_xor_si512(_mm512_castps_si512(a), _mm512_castps_si512(b)));
  }
  [[gnu::always_inline]] static inline V Blend(M m, V ifClear, V ifSet) { return _mm512_mask_blend_ps(m, ifClear, ifSet); }
  [[gnu::always_inline]] static inline M Lt(V a, V b) { return _mm512_cmp_ps_mask(a, b, _CMP_LT_OQ); }
  [[gnu::always_inline]] static inline M Le(V a, V b) { return _mm512_cmp_ps_mask(a, b, _CMP_LE_OQ); }
  [[gnu::always_inline]] static inline M Unord(V a) { return _mm512_cmp_ps_mask(a, a, _CMP_UNORD_Q); }
  [[gnu::always_inline]] static inline M IsZeroBits(V a) {
    return _mm512_cmpeq_epi32_mask(_mm512_castps_si512(a), _mm512_setzero_si512());
  }
  [[gnu::always_inline]] static inline M SpecialTest(V a) {
    const __m512i t = _mm512_sub_epi32(_mm512_castps_si512(a), _mm512_set1_epi32(static_cast<int>(kSpecialBias)));
    return _mm512_cmpge_epi32_mask(t, _mm512_set1_epi32(static_cast<int>(kSpecialLimit)));
  }
  [[gnu::always_inline]] static inline V Mul(V a, V b) { return _mm512_mul_ps(a, b); }
  [[gnu::always_inline]] static inline V Sub(V a, V b) { return _mm512_sub_ps(a, b); }
  [[gnu::always_inline]] static inline V MaskAdd(V a, M m, V b) { return _mm512_mask_add_ps(a, m, a, b); }
  [[gnu::always_inline]] static inline V Fma(V a, V b, V c) { return _mm512_fmadd_ps(a, b, c); }
  [[gnu::always_inline]] static inline V Fnma(V a, V b, V c) { return _mm512_fnmadd_ps(a, b, c); }
  [[gnu::always_inline]] static inline V MantPositive(V a) { return _mm512_getmant_ps(a, _MM_MANT_NORM_1_2, _MM_MANT_SIGN_zero); }
  [[gnu::always_inline]] static inline V MantSigned(V a) { return _mm512_getmant_ps(a, _MM_MANT_NORM_1_2, _MM_MANT_SIGN_src); }
  [[gnu::always_inline]] static inline V Exp(V a) { return _mm512_getexp_ps(a); }
  [[gnu::always_inline]] static inline V Scale(V a, V e) { return _mm512_scalef_ps(a, e); }
  // The class's reciprocal approximation of values in [1, 2).
  [[gnu::always_inline]] static inline V Rcp(V a) {
#if LV_CLASS == 6
    return lv_vmath_rcp28::Rcp28(a);
#else
    return _mm512_rcp14_ps(a);
#endif
  }
  [[gnu::always_inline]] static inline void Store(float* p, V v) { _mm512_store_ps(p, v); }
  [[gnu::always_inline]] static inline V Load(const float* p) { return _mm512_load_ps(p); }
  // One element in lane 0, the other lanes zero; the store writes lane 0 only.
  [[gnu::always_inline]] static inline V LoadOne(const float* p) { return _mm512_maskz_loadu_ps(1, p); }
  [[gnu::always_inline]] static inline void StoreOne(float* p, V v) { _mm512_mask_storeu_ps(p, 1, v); }
};

#if LV_CLASS == 7
// 4 lanes in xmm registers (class 7 only: the VL forms of the same operations).
struct Xmm {
  using V = __m128;
  using M = __mmask8;
  static constexpr int kLanes = 4;
  [[gnu::always_inline]] static inline V Set(float v) { return _mm_set1_ps(v); }
  [[gnu::always_inline]] static inline V Bits(uint32_t b) { return _mm_castsi128_ps(_mm_set1_epi32(static_cast<int>(b))); }
  [[gnu::always_inline]] static inline V And(V a, V b) { return _mm_and_ps(a, b); }
  [[gnu::always_inline]] static inline V Or(V a, V b) { return _mm_or_ps(a, b); }
  [[gnu::always_inline]] static inline V Xor(V a, V b) { return _mm_xor_ps(a, b); }
  [[gnu::always_inline]] static inline V Blend(M m, V ifClear, V ifSet) { return _mm_mask_blend_ps(m, ifClear, ifSet); }
  [[gnu::always_inline]] static inline M Lt(V a, V b) { return _mm_cmp_ps_mask(a, b, _CMP_LT_OQ); }
  [[gnu::always_inline]] static inline M Le(V a, V b) { return _mm_cmp_ps_mask(a, b, _CMP_LE_OQ); }
  [[gnu::always_inline]] static inline M Unord(V a) { return _mm_cmp_ps_mask(a, a, _CMP_UNORD_Q); }
  [[gnu::always_inline]] static inline M IsZeroBits(V a) {
    return _mm_cmpeq_epi32_mask(_mm_castps_si128(a), _mm_setzero_si128());
  }
  [[gnu::always_inline]] static inline M SpecialTest(V a) {
    const __m128i t = _mm_sub_epi32(_mm_castps_si128(a), _mm_set1_epi32(static_cast<int>(kSpecialBias)));
    return _mm_cmpge_epi32_mask(t, _mm_set1_epi32(static_cast<int>(kSpecialLimit)));
  }
  [[gnu::always_inline]] static inline V Mul(V a, V b) { return _mm_mul_ps(a, b); }
  [[gnu::always_inline]] static inline V Sub(V a, V b) { return _mm_sub_ps(a, b); }
  [[gnu::always_inline]] static inline V MaskAdd(V a, M m, V b) { return _mm_mask_add_ps(a, m, a, b); }
  [[gnu::always_inline]] static inline V Fma(V a, V b, V c) { return _mm_fmadd_ps(a, b, c); }
  [[gnu::always_inline]] static inline V Fnma(V a, V b, V c) { return _mm_fnmadd_ps(a, b, c); }
  [[gnu::always_inline]] static inline V MantPositive(V a) { return _mm_getmant_ps(a, _MM_MANT_NORM_1_2, _MM_MANT_SIGN_zero); }
  [[gnu::always_inline]] static inline V MantSigned(V a) { return _mm_getmant_ps(a, _MM_MANT_NORM_1_2, _MM_MANT_SIGN_src); }
  [[gnu::always_inline]] static inline V Exp(V a) { return _mm_getexp_ps(a); }
  [[gnu::always_inline]] static inline V Scale(V a, V e) { return _mm_scalef_ps(a, e); }
  [[gnu::always_inline]] static inline V Rcp(V a) { return _mm_rcp14_ps(a); }
  [[gnu::always_inline]] static inline void Store(float* p, V v) { _mm_store_ps(p, v); }
  [[gnu::always_inline]] static inline V Load(const float* p) { return _mm_load_ps(p); }
  [[gnu::always_inline]] static inline V LoadOne(const float* p) { return _mm_load_ss(p); }
  [[gnu::always_inline]] static inline void StoreOne(float* p, V v) { _mm_store_ss(p, v); }
};

// The one-element tail: class 7 in 128-bit registers, class 6 in lane 0 of a
// 16-lane vector.
using TailOps = Xmm;
#else
using TailOps = Zmm;
#endif

template <class O>
struct Avx512Path {
  using V = typename O::V;
  using M = typename O::M;

  [[gnu::always_inline]] static inline V Fast(V y, V x) {
    const V absMask = O::Bits(kAbsMask);
    const V signMask = O::Bits(kSignMask);
    const V ay = O::And(y, absMask);
    const V ax = O::And(x, absMask);
    const V sx = O::And(x, signMask);
    const V sy = O::And(y, signMask);
    const M m = O::Lt(ay, ax);
    const V num = O::Blend(m, O::Xor(ax, signMask), ay);
    const V den = O::Blend(m, ay, ax);
    // T = num / den from the significands: one reciprocal, one Newton step,
    // then the exponent difference.
    const V md = O::MantPositive(den);
    const V mn = O::MantSigned(num);
    const V ed = O::Exp(den);
    const V en = O::Exp(num);
    const V r = O::Rcp(md);
    const V q0 = O::Mul(mn, r);
    const V e0 = O::Fnma(md, q0, mn);
    const V q1 = O::Fma(r, e0, q0);
    const V t = O::Scale(q1, O::Sub(en, ed));
    const V z = O::Mul(t, t);
    const V z2 = O::Mul(z, z);
    V e = O::Fma(O::Set(kC8), z2, O::Set(kC6));
    e = O::Fma(e, z2, O::Set(kC4));
    e = O::Fma(e, z2, O::Set(kC2));
    e = O::Fma(e, z2, O::Set(1.0f));
    V o = O::Fma(O::Set(kC7), z2, O::Set(kC5));
    o = O::Fma(o, z2, O::Set(kC3));
    o = O::Fma(o, z2, O::Set(kC1));
    const V p = O::Fma(z, o, e);
    const V b = O::Blend(m, O::Set(kHalfPi), O::Set(0.0f));
    V v = O::Fma(t, p, b);
    v = O::Or(v, sx);
    v = O::MaskAdd(v, O::Le(x, O::Set(0.0f)), O::Set(kPi));
    return O::Or(v, sy);
  }

  [[gnu::always_inline]] static inline unsigned SpecialBits(V y, V x) {
    const V absMask = O::Bits(kAbsMask);
    return static_cast<unsigned>(O::SpecialTest(O::And(y, absMask)) | O::SpecialTest(O::And(x, absMask)));
  }

  [[gnu::always_inline]] static inline V ZeroLanes(V y, V x, unsigned& zeroBits) {
    const V absMask = O::Bits(kAbsMask);
    const V signMask = O::Bits(kSignMask);
    const V ay = O::And(y, absMask);
    const V ax = O::And(x, absMask);
    const V sx = O::And(x, signMask);
    const V sy = O::And(y, signMask);
    const M yZero = O::IsZeroBits(ay);
    const M xZero = O::IsZeroBits(ax);
    const M nan = static_cast<M>(O::Unord(x) | O::Unord(y));
    zeroBits = static_cast<unsigned>((yZero | xZero) & ~nan) & ((1u << O::kLanes) - 1);
    const M baseZero = static_cast<M>((yZero & xZero) | O::Lt(ay, ax));
    V v = O::Blend(baseZero, O::Set(kHalfPi), O::Set(0.0f));
    v = O::Or(v, sx);
    v = O::MaskAdd(v, static_cast<M>(~O::IsZeroBits(sx)), O::Set(kPi));
    return O::Or(v, sy);
  }
};

template <class O, int kVectors, SpecialValueFn kSpecial>
[[gnu::noinline]] void FixSpecialLanes16(const typename O::V* vy, const typename O::V* vx, typename O::V* vr,
                                         unsigned special) {
  using P = Avx512Path<O>;
  constexpr int L = O::kLanes;
  alignas(64) float ys[L * kVectors];
  alignas(64) float xs[L * kVectors];
  alignas(64) float rs[L * kVectors];
  alignas(64) float zs[L];
  unsigned others = 0;
  for (int b = 0; b < kVectors; ++b) {
    unsigned zeroBits;
    const typename O::V zero = P::ZeroLanes(vy[b], vx[b], zeroBits);
    O::Store(rs + L * b, vr[b]);
    O::Store(zs, zero);
    O::Store(ys + L * b, vy[b]);
    O::Store(xs + L * b, vx[b]);
    const unsigned mine = (special >> (L * b)) & ((1u << L) - 1);
    for (int lane = 0; lane < L; ++lane) {
      if (((mine & zeroBits) >> lane) & 1u) {
        rs[L * b + lane] = zs[lane];
      }
    }
    others |= (mine & ~zeroBits) << (L * b);
  }
  for (int lane = 0; others != 0; ++lane, others >>= 1) {
    if ((others & 1) != 0) {
      kSpecial(&ys[lane], &xs[lane], &rs[lane]);
    }
  }
  for (int b = 0; b < kVectors; ++b) {
    vr[b] = O::Load(rs + L * b);
  }
}

// The main loop: 32 elements a step as two 16-lane vectors, unaligned.
// Returns the index where the one-element tail starts.
template <SpecialValueFn kSpecial>
[[gnu::always_inline]] inline int32_t MainLoop16(const float* y, const float* x, float* dst, int32_t n) {
  using O = Zmm;
  using P = Avx512Path<O>;
  const int32_t end = n & ~31;
  for (int32_t i = 0; i < end; i += 32) {
    // The vectors stay in registers; only a block with special lanes puts
    // them into the arrays the patching routine takes (arrays whose address
    // is taken in the loop itself would be stored to the stack every step).
    const __m512 y0 = _mm512_loadu_ps(y + i);
    const __m512 y1 = _mm512_loadu_ps(y + i + 16);
    const __m512 x0 = _mm512_loadu_ps(x + i);
    const __m512 x1 = _mm512_loadu_ps(x + i + 16);
    __m512 r0 = P::Fast(y0, x0);
    __m512 r1 = P::Fast(y1, x1);
    const unsigned special = P::SpecialBits(y0, x0) | (P::SpecialBits(y1, x1) << 16);
    if (special != 0) [[unlikely]] {
      const __m512 vy[2] = {y0, y1};
      const __m512 vx[2] = {x0, x1};
      __m512 vr[2] = {r0, r1};
      FixSpecialLanes16<O, 2, kSpecial>(vy, vx, vr, special);
      r0 = vr[0];
      r1 = vr[1];
    }
    _mm512_storeu_ps(dst + i, r0);
    _mm512_storeu_ps(dst + i + 16, r1);
  }
  return end;
}

// The class's kernel: the main loop, then the tail one element at a time.
template <SpecialValueFn kSpecial>
[[gnu::always_inline]] inline int32_t Kernel(const float* y, const float* x, float* dst, int32_t n) {
  using O = TailOps;
  using P = Avx512Path<O>;
  if (n <= 0) {
    return StatusBadCount;
  }
  if (y == nullptr || x == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  int32_t i = MainLoop16<kSpecial>(y, x, dst, n);
  for (; i < n; ++i) {
    typename O::V vy = O::LoadOne(y + i);
    typename O::V vx = O::LoadOne(x + i);
    typename O::V vr = P::Fast(vy, vx);
    const unsigned special = P::SpecialBits(vy, vx) & 1u;
    if (special != 0) {
      FixSpecialLanes16<O, 1, kSpecial>(&vy, &vx, &vr, special);
    }
    O::StoreOne(dst + i, vr);
  }
  lv_vmath_env::LeaveKernel(env);
  return 0;
}

}  // namespace
}  // namespace LV_NS
