// The eight-lane arctangent kernels of classes 4 (AVX) and 5 (AVX2 with FMA).
// Part of the arctangent body (atan2_body.inl), inside the class namespace.
//
// Both use the quotient algorithm with one division; class 4 rounds every
// operation separately (bit for bit the results of classes 1 to 3), class 5
// fuses each multiplication of the polynomial and of the final step with the
// addition that follows it. Class 4 has no 256-bit integer operations, so its
// lane tests compare floats (the same classification as the integer test).

namespace LV_NS {
namespace {

// Row k: the first k of eight lanes all ones.
alignas(32) constexpr int32_t kFirstLanes[9][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},         {-1, 0, 0, 0, 0, 0, 0, 0},        {-1, -1, 0, 0, 0, 0, 0, 0},
    {-1, -1, -1, 0, 0, 0, 0, 0},      {-1, -1, -1, -1, 0, 0, 0, 0},     {-1, -1, -1, -1, -1, 0, 0, 0},
    {-1, -1, -1, -1, -1, -1, 0, 0},   {-1, -1, -1, -1, -1, -1, -1, 0},  {-1, -1, -1, -1, -1, -1, -1, -1}};

struct Avx {
  static constexpr bool kFused = kClass == 5;

  [[gnu::always_inline]] static inline __m256 Bits(uint32_t b) { return _mm256_castsi256_ps(_mm256_set1_epi32(static_cast<int>(b))); }
  // a * b + c: one rounding when fused, two otherwise.
  [[gnu::always_inline]] static inline __m256 MulAdd(__m256 a, __m256 b, __m256 c) {
    if constexpr (kFused) {
      return _mm256_fmadd_ps(a, b, c);
    } else {
      return _mm256_add_ps(_mm256_mul_ps(a, b), c);
    }
  }

  // Lanes of ifSet where m is all ones, of ifClear where it is zero (m comes
  // from a comparison). Class 4 selects with and/andnot/or: GCC 12 with
  // AVX-only flags expands vblendvps on a comparison mask into eight per-lane
  // branches, which the branch predictor cannot follow on real data.
  [[gnu::always_inline]] static inline __m256 Select(__m256 m, __m256 ifClear, __m256 ifSet) {
    if constexpr (kClass == 4) {
      return _mm256_or_ps(_mm256_and_ps(m, ifSet), _mm256_andnot_ps(m, ifClear));
    } else {
      return _mm256_blendv_ps(ifClear, ifSet, m);
    }
  }

  [[gnu::always_inline]] static inline int SpecialBits(__m256 y, __m256 x) {
    if constexpr (kFused) {
      const __m256i abs = _mm256_set1_epi32(static_cast<int>(kAbsMask));
      const __m256i bias = _mm256_set1_epi32(static_cast<int>(kSpecialBias));
      const __m256i limit = _mm256_set1_epi32(static_cast<int>(kSpecialLimit - 1));
      const __m256i ty = _mm256_sub_epi32(_mm256_and_si256(_mm256_castps_si256(y), abs), bias);
      const __m256i tx = _mm256_sub_epi32(_mm256_and_si256(_mm256_castps_si256(x), abs), bias);
      const __m256i s = _mm256_or_si256(_mm256_cmpgt_epi32(ty, limit), _mm256_cmpgt_epi32(tx, limit));
      return _mm256_movemask_ps(_mm256_castsi256_ps(s));
    } else {
      // Not special: 2^-125 <= |v| < 2^123 (ordered, so NaNs are special).
      const __m256 absMask = Bits(kAbsMask);
      const __m256 lo = Bits(0x01000000u);
      const __m256 hi = Bits(0x7D000000u);
      const __m256 ay = _mm256_and_ps(y, absMask);
      const __m256 ax = _mm256_and_ps(x, absMask);
      const __m256 ok = _mm256_and_ps(_mm256_and_ps(_mm256_cmp_ps(ay, lo, _CMP_GE_OQ), _mm256_cmp_ps(ay, hi, _CMP_LT_OQ)),
                                      _mm256_and_ps(_mm256_cmp_ps(ax, lo, _CMP_GE_OQ), _mm256_cmp_ps(ax, hi, _CMP_LT_OQ)));
      return ~_mm256_movemask_ps(ok) & 0xFF;
    }
  }

  [[gnu::always_inline]] static inline __m256 ZeroLanes(__m256 y, __m256 x, __m256& zeroMask) {
    const __m256 absMask = Bits(kAbsMask);
    const __m256 signMask = Bits(kSignMask);
    const __m256 ay = _mm256_and_ps(y, absMask);
    const __m256 ax = _mm256_and_ps(x, absMask);
    const __m256 sx = _mm256_and_ps(x, signMask);
    const __m256 sy = _mm256_and_ps(y, signMask);
    const __m256 zero = _mm256_setzero_ps();
    const __m256 yZero = _mm256_cmp_ps(ay, zero, _CMP_EQ_OQ);
    const __m256 xZero = _mm256_cmp_ps(ax, zero, _CMP_EQ_OQ);
    const __m256 nan = _mm256_or_ps(_mm256_cmp_ps(x, x, _CMP_UNORD_Q), _mm256_cmp_ps(y, y, _CMP_UNORD_Q));
    zeroMask = _mm256_andnot_ps(nan, _mm256_or_ps(yZero, xZero));
    const __m256 baseZero = _mm256_or_ps(_mm256_and_ps(yZero, xZero), _mm256_cmp_ps(ay, ax, _CMP_LT_OQ));
    __m256 v = _mm256_andnot_ps(baseZero, _mm256_set1_ps(kHalfPi));
    v = _mm256_or_ps(v, sx);
    // sx is +0 or -0; or-ed into 1 it gives the sign of x as +1 or -1.
    const __m256 negMask = _mm256_cmp_ps(_mm256_or_ps(sx, _mm256_set1_ps(1.0f)), zero, _CMP_LT_OQ);
    v = _mm256_add_ps(v, _mm256_and_ps(negMask, _mm256_set1_ps(kPi)));
    return _mm256_or_ps(v, sy);
  }

  [[gnu::always_inline]] static inline __m256 Fast(__m256 y, __m256 x) {
    const __m256 absMask = Bits(kAbsMask);
    const __m256 signMask = Bits(kSignMask);
    const __m256 ay = _mm256_and_ps(y, absMask);
    const __m256 ax = _mm256_and_ps(x, absMask);
    const __m256 sx = _mm256_and_ps(x, signMask);
    const __m256 sy = _mm256_and_ps(y, signMask);
    const __m256 m = _mm256_cmp_ps(ay, ax, _CMP_LT_OQ);
    const __m256 num = Select(m, _mm256_xor_ps(ax, signMask), ay);
    const __m256 den = Select(m, ay, ax);
    const __m256 t = _mm256_div_ps(num, den);
    const __m256 z = _mm256_mul_ps(t, t);
    const __m256 z2 = _mm256_mul_ps(z, z);
    __m256 e = MulAdd(_mm256_set1_ps(kC8), z2, _mm256_set1_ps(kC6));
    e = MulAdd(e, z2, _mm256_set1_ps(kC4));
    e = MulAdd(e, z2, _mm256_set1_ps(kC2));
    e = MulAdd(e, z2, _mm256_set1_ps(1.0f));
    __m256 o = MulAdd(_mm256_set1_ps(kC7), z2, _mm256_set1_ps(kC5));
    o = MulAdd(o, z2, _mm256_set1_ps(kC3));
    o = MulAdd(o, z2, _mm256_set1_ps(kC1));
    __m256 p;
    if constexpr (kFused) {
      p = _mm256_fmadd_ps(z, o, e);
    } else {
      p = _mm256_add_ps(e, _mm256_mul_ps(z, o));
    }
    const __m256 b = _mm256_andnot_ps(m, _mm256_set1_ps(kHalfPi));
    __m256 v = MulAdd(t, p, b);
    v = _mm256_or_ps(v, sx);
    v = _mm256_add_ps(v, _mm256_and_ps(_mm256_cmp_ps(x, _mm256_setzero_ps(), _CMP_LE_OQ), _mm256_set1_ps(kPi)));
    return _mm256_or_ps(v, sy);
  }
};

template <int kVectors, SpecialValueFn kSpecial>
[[gnu::noinline]] void FixSpecialLanes8(const __m256* vy, const __m256* vx, __m256* vr, int special) {
  using A = Avx;
  alignas(32) float ys[8 * kVectors];
  alignas(32) float xs[8 * kVectors];
  alignas(32) float rs[8 * kVectors];
  int others = 0;
  for (int b = 0; b < kVectors; ++b) {
    __m256 zeroMask;
    const __m256 zero = A::ZeroLanes(vy[b], vx[b], zeroMask);
    _mm256_store_ps(rs + 8 * b, A::Select(zeroMask, vr[b], zero));
    _mm256_store_ps(ys + 8 * b, vy[b]);
    _mm256_store_ps(xs + 8 * b, vx[b]);
    others |= (((special >> (8 * b)) & 0xFF) & ~_mm256_movemask_ps(zeroMask)) << (8 * b);
  }
  for (int lane = 0; others != 0; ++lane, others >>= 1) {
    if ((others & 1) != 0) {
      kSpecial(&ys[lane], &xs[lane], &rs[lane]);
    }
  }
  for (int b = 0; b < kVectors; ++b) {
    vr[b] = _mm256_load_ps(rs + 8 * b);
  }
}

// Head to y's 32-byte boundary as one masked chunk, main loop of kVectors
// vectors, the rest as masked chunks of at most eight. Masked chunks read and
// write only their k lanes; the other lanes compute FILL.
template <int kVectors, SpecialValueFn kSpecial>
[[gnu::always_inline]] inline int32_t Kernel8(const float* y, const float* x, float* dst, int32_t n) {
  using A = Avx;
  if (n <= 0) {
    return StatusBadCount;
  }
  if (y == nullptr || x == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  const auto chunk = [&](int32_t i, int k) {
    const __m256i mask = _mm256_castps_si256(_mm256_load_ps(reinterpret_cast<const float*>(kFirstLanes[k])));
    const __m256 fill = _mm256_set1_ps(kFill);
    const __m256 maskPs = _mm256_castsi256_ps(mask);
    __m256 vy = A::Select(maskPs, fill, _mm256_maskload_ps(y + i, mask));
    __m256 vx = A::Select(maskPs, fill, _mm256_maskload_ps(x + i, mask));
    __m256 vr = A::Fast(vy, vx);
    const int special = A::SpecialBits(vy, vx);
    if (special != 0) {
      FixSpecialLanes8<1, kSpecial>(&vy, &vx, &vr, special);
    }
    _mm256_maskstore_ps(dst + i, mask, vr);
  };
  int32_t head = static_cast<int32_t>(((32 - (reinterpret_cast<uintptr_t>(y) & 31)) & 31) / 4);
  if (head > n) {
    head = n;
  }
  if (head > 0) {
    chunk(0, head);
  }
  int32_t i = head;
  for (; n - i >= 8 * kVectors; i += 8 * kVectors) {
    __m256 vy[kVectors];
    __m256 vx[kVectors];
    __m256 vr[kVectors];
    int special = 0;
    for (int b = 0; b < kVectors; ++b) {
      vy[b] = _mm256_loadu_ps(y + i + 8 * b);
      vx[b] = _mm256_loadu_ps(x + i + 8 * b);
    }
    for (int b = 0; b < kVectors; ++b) {
      vr[b] = A::Fast(vy[b], vx[b]);
      special |= A::SpecialBits(vy[b], vx[b]) << (8 * b);
    }
    if (special != 0) [[unlikely]] {
      FixSpecialLanes8<kVectors, kSpecial>(vy, vx, vr, special);
    }
    for (int b = 0; b < kVectors; ++b) {
      _mm256_storeu_ps(dst + i + 8 * b, vr[b]);
    }
  }
  while (i < n) {
    const int k = (n - i < 8) ? static_cast<int>(n - i) : 8;
    chunk(i, k);
    i += k;
  }
  lv_vmath_env::LeaveKernel(env);
  return 0;
}

// The class's kernel: class 4 two vectors a step, class 5 one.
template <SpecialValueFn kSpecial>
[[gnu::always_inline]] inline int32_t Kernel(const float* y, const float* x, float* dst, int32_t n) {
  return Kernel8<kClass == 4 ? 2 : 1, kSpecial>(y, x, dst, n);
}

}  // namespace
}  // namespace LV_NS
