// The four-lane arctangent kernels of classes 0 to 2 (SSE2 operations only;
// class 3 runs the class-2 kernel). Part of the arctangent body
// (atan2_body.inl), inside the class namespace. The fast paths:
//   * BaselinePath: the reduction to five intervals with a reciprocal refined
//     in double and a head/tail split (class 0, within one ulp);
//   * QuotientPath: one division and a nine-term polynomial (classes 1 and 2).
// Every operation below is rounded separately, in the order written.

namespace LV_NS {
namespace {

struct Sse {
  [[gnu::always_inline]] static inline __m128 Bits(uint32_t b) { return _mm_castsi128_ps(_mm_set1_epi32(static_cast<int>(b))); }
  [[gnu::always_inline]] static inline __m128 Select(__m128 m, __m128 a, __m128 b) {
    return _mm_or_ps(_mm_and_ps(m, a), _mm_andnot_ps(m, b));
  }

  // Lanes where |x| or |y| is outside [2^-125, 2^123), as four bits.
  [[gnu::always_inline]] static inline int SpecialBits(__m128 y, __m128 x) {
    const __m128i abs = _mm_set1_epi32(static_cast<int>(kAbsMask));
    const __m128i bias = _mm_set1_epi32(static_cast<int>(kSpecialBias));
    const __m128i limit = _mm_set1_epi32(static_cast<int>(kSpecialLimit - 1));
    const __m128i ty = _mm_sub_epi32(_mm_and_si128(_mm_castps_si128(y), abs), bias);
    const __m128i tx = _mm_sub_epi32(_mm_and_si128(_mm_castps_si128(x), abs), bias);
    const __m128i s = _mm_or_si128(_mm_cmpgt_epi32(ty, limit), _mm_cmpgt_epi32(tx, limit));
    return _mm_movemask_ps(_mm_castsi128_ps(s));
  }

  // The zero-lane treatment: the results of lanes with a zero operand and no
  // NaN, and the mask of those lanes.
  [[gnu::always_inline]] static inline __m128 ZeroLanes(__m128 y, __m128 x, __m128& zeroMask) {
    const __m128 absMask = Bits(kAbsMask);
    const __m128 signMask = Bits(kSignMask);
    const __m128 ay = _mm_and_ps(y, absMask);
    const __m128 ax = _mm_and_ps(x, absMask);
    const __m128 sx = _mm_and_ps(x, signMask);
    const __m128 sy = _mm_and_ps(y, signMask);
    const __m128i zero = _mm_setzero_si128();
    const __m128 yZero = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_castps_si128(ay), zero));
    const __m128 xZero = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_castps_si128(ax), zero));
    const __m128 nan = _mm_or_ps(_mm_cmpunord_ps(x, x), _mm_cmpunord_ps(y, y));
    zeroMask = _mm_andnot_ps(nan, _mm_or_ps(yZero, xZero));
    const __m128 baseZero = _mm_or_ps(_mm_and_ps(yZero, xZero), _mm_cmplt_ps(ay, ax));
    __m128 v = _mm_andnot_ps(baseZero, _mm_set1_ps(kHalfPi));
    v = _mm_or_ps(v, sx);
    const __m128 xNeg = _mm_castsi128_ps(_mm_srai_epi32(_mm_castps_si128(x), 31));
    v = _mm_add_ps(v, _mm_and_ps(xNeg, _mm_set1_ps(kPi)));
    return _mm_or_ps(v, sy);
  }

  // Loads m (1..4) lanes one by one; the other lanes get FILL.
  [[gnu::always_inline]] static inline __m128 LoadPartial(const float* p, int m) {
    alignas(16) float t[4] = {kFill, kFill, kFill, kFill};
    for (int i = 0; i < m; ++i) {
      t[i] = p[i];
    }
    return _mm_load_ps(t);
  }
  [[gnu::always_inline]] static inline void StorePartial(float* p, __m128 v, int m) {
    alignas(16) float t[4];
    _mm_store_ps(t, v);
    for (int i = 0; i < m; ++i) {
      p[i] = t[i];
    }
  }
};

// The quotient algorithm, every operation rounded.
struct QuotientPath {
  [[gnu::always_inline]] static inline __m128 Fast(__m128 y, __m128 x) {
    using S = Sse;
    const __m128 absMask = S::Bits(kAbsMask);
    const __m128 signMask = S::Bits(kSignMask);
    const __m128 ay = _mm_and_ps(y, absMask);
    const __m128 ax = _mm_and_ps(x, absMask);
    const __m128 sx = _mm_and_ps(x, signMask);
    const __m128 sy = _mm_and_ps(y, signMask);
    const __m128 m = _mm_cmplt_ps(ay, ax);
    const __m128 num = S::Select(m, ay, _mm_xor_ps(ax, signMask));
    const __m128 den = S::Select(m, ax, ay);
    const __m128 t = _mm_div_ps(num, den);
    const __m128 z = _mm_mul_ps(t, t);
    const __m128 z2 = _mm_mul_ps(z, z);
    __m128 e = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(kC8), z2), _mm_set1_ps(kC6));
    e = _mm_add_ps(_mm_mul_ps(e, z2), _mm_set1_ps(kC4));
    e = _mm_add_ps(_mm_mul_ps(e, z2), _mm_set1_ps(kC2));
    e = _mm_add_ps(_mm_mul_ps(e, z2), _mm_set1_ps(1.0f));
    __m128 o = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(kC7), z2), _mm_set1_ps(kC5));
    o = _mm_add_ps(_mm_mul_ps(o, z2), _mm_set1_ps(kC3));
    o = _mm_add_ps(_mm_mul_ps(o, z2), _mm_set1_ps(kC1));
    const __m128 p = _mm_add_ps(e, _mm_mul_ps(z, o));
    const __m128 b = _mm_andnot_ps(m, _mm_set1_ps(kHalfPi));
    __m128 v = _mm_add_ps(_mm_mul_ps(t, p), b);
    v = _mm_or_ps(v, sx);
    v = _mm_add_ps(v, _mm_and_ps(_mm_cmple_ps(x, _mm_setzero_ps()), _mm_set1_ps(kPi)));
    return _mm_or_ps(v, sy);
  }
};

// The baseline fast path: five intervals, a reciprocal estimate refined in
// double, a head/tail split of the reduced argument.
struct BaselinePath {
  // T = R * num in double for two lanes, with D = den and R0 = the estimate.
  [[gnu::always_inline]] static inline __m128d Quotient2(__m128d d, __m128d r0, __m128d num) {
    const __m128d one = _mm_set1_pd(kOneD);
    const __m128d e = _mm_sub_pd(one, _mm_mul_pd(d, r0));
    const __m128d r = _mm_mul_pd(_mm_add_pd(r0, _mm_mul_pd(e, r0)), _mm_add_pd(_mm_mul_pd(e, e), one));
    return _mm_mul_pd(r, num);
  }

  [[gnu::always_inline]] static inline __m128 Fast(__m128 y, __m128 x) {
    using S = Sse;
    const __m128 absMask = S::Bits(kAbsMask);
    const __m128 signMask = S::Bits(kSignMask);
    const __m128 ay = _mm_and_ps(y, absMask);
    const __m128 ax = _mm_and_ps(x, absMask);
    const __m128 sy = _mm_and_ps(y, signMask);
    // Interval masks (one-hot after the and-nots).
    const __m128 m0 = _mm_cmpgt_ps(_mm_mul_ps(_mm_set1_ps(kR0), ax), ay);
    const __m128 m1 = _mm_cmpgt_ps(_mm_mul_ps(_mm_set1_ps(kR1), ax), ay);
    const __m128 m2 = _mm_cmpgt_ps(_mm_mul_ps(_mm_set1_ps(kR2), ax), ay);
    const __m128 m4 = _mm_cmpgt_ps(ay, _mm_mul_ps(_mm_set1_ps(kR3), ax));
    const __m128 k0 = m0;
    const __m128 k1 = _mm_andnot_ps(m0, m1);
    const __m128 k2 = _mm_andnot_ps(m1, m2);
    const __m128 k4 = _mm_andnot_ps(m2, m4);
    const __m128 k3 = _mm_andnot_ps(_mm_or_ps(m2, m4), _mm_set1_ps(F32(0xFFFFFFFFu)));
    // Reduction point c (0 in interval 0: ay - 0*ax = ay and ax + 0*ay = ax).
    const __m128 c = _mm_or_ps(_mm_or_ps(_mm_and_ps(k1, _mm_set1_ps(kHalf)), _mm_and_ps(k2, _mm_set1_ps(kOne))),
                               _mm_and_ps(k3, _mm_set1_ps(kTwo)));
    (void)k0;
    const __m128 numC = _mm_sub_ps(ay, _mm_mul_ps(c, ax));
    const __m128 denC = _mm_add_ps(ax, _mm_mul_ps(c, ay));
    const __m128 num = S::Select(k4, _mm_xor_ps(ax, signMask), numC);
    const __m128 den = S::Select(k4, ay, denC);
    // Quotient in double, two lanes at a time.
    const __m128 r0 = _mm_rcp_ps(den);
    const __m128d tLo = Quotient2(_mm_cvtps_pd(den), _mm_cvtps_pd(r0), _mm_cvtps_pd(num));
    const __m128d tHi = Quotient2(_mm_cvtps_pd(_mm_movehl_ps(den, den)), _mm_cvtps_pd(_mm_movehl_ps(r0, r0)),
                                  _mm_cvtps_pd(_mm_movehl_ps(num, num)));
    // Split: TH keeps 23 fraction bits (exactly a float), TL the rest.
    const __m128d cut = _mm_castsi128_pd(_mm_set1_epi64x(static_cast<long long>(kCut)));
    const __m128d thLo = _mm_and_pd(tLo, cut);
    const __m128d thHi = _mm_and_pd(tHi, cut);
    const __m128 th = _mm_movelh_ps(_mm_cvtpd_ps(thLo), _mm_cvtpd_ps(thHi));
    const __m128 tl = _mm_movelh_ps(_mm_cvtpd_ps(_mm_sub_pd(tLo, thLo)), _mm_cvtpd_ps(_mm_sub_pd(tHi, thHi)));
    // Polynomial.
    const __m128 z = _mm_mul_ps(th, th);
    const __m128 z2 = _mm_mul_ps(z, z);
    const __m128 p = _mm_add_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(kA4), z2), _mm_set1_ps(kA2)), z),
                                _mm_add_ps(_mm_mul_ps(_mm_set1_ps(kA3), z2), _mm_set1_ps(kA1)));
    __m128 q = _mm_mul_ps(_mm_mul_ps(z, p), th);
    // Reconstruction.
    const __m128 atanHi = _mm_or_ps(
        _mm_or_ps(_mm_and_ps(k1, _mm_set1_ps(kAtanHi[1])), _mm_and_ps(k2, _mm_set1_ps(kAtanHi[2]))),
        _mm_or_ps(_mm_and_ps(k3, _mm_set1_ps(kAtanHi[3])), _mm_and_ps(k4, _mm_set1_ps(kAtanHi[4]))));
    const __m128 atanLo = _mm_or_ps(
        _mm_or_ps(_mm_and_ps(k1, _mm_set1_ps(kAtanLo[1])), _mm_and_ps(k2, _mm_set1_ps(kAtanLo[2]))),
        _mm_or_ps(_mm_and_ps(k3, _mm_set1_ps(kAtanLo[3])), _mm_and_ps(k4, _mm_set1_ps(kAtanLo[4]))));
    const __m128 xNeg = _mm_cmplt_ps(x, _mm_setzero_ps());
    __m128 s = _mm_add_ps(tl, atanLo);
    s = S::Select(xNeg, _mm_sub_ps(s, _mm_set1_ps(kPiLo)), s);
    q = _mm_add_ps(q, s);
    __m128 v = _mm_add_ps(th, q);
    v = _mm_add_ps(atanHi, v);
    v = S::Select(xNeg, _mm_sub_ps(_mm_set1_ps(kPiHi), v), v);
    return _mm_or_ps(v, sy);
  }
};

// Zero lanes in the vector, then every other special lane through the scalar
// routine in increasing lane order, on copies of the operands.
template <int kBlocks, SpecialValueFn kSpecial>
[[gnu::noinline]] void FixSpecialLanes(const __m128* vy, const __m128* vx, __m128* vr, int special) {
  using S = Sse;
  alignas(16) float ys[4 * kBlocks];
  alignas(16) float xs[4 * kBlocks];
  alignas(16) float rs[4 * kBlocks];
  int others = 0;
  for (int b = 0; b < kBlocks; ++b) {
    __m128 zeroMask;
    const __m128 zero = S::ZeroLanes(vy[b], vx[b], zeroMask);
    _mm_store_ps(rs + 4 * b, S::Select(zeroMask, zero, vr[b]));
    _mm_store_ps(ys + 4 * b, vy[b]);
    _mm_store_ps(xs + 4 * b, vx[b]);
    others |= (((special >> (4 * b)) & 0xF) & ~_mm_movemask_ps(zeroMask)) << (4 * b);
  }
  for (int lane = 0; others != 0; ++lane, others >>= 1) {
    if ((others & 1) != 0) {
      kSpecial(&ys[lane], &xs[lane], &rs[lane]);
    }
  }
  for (int b = 0; b < kBlocks; ++b) {
    vr[b] = _mm_load_ps(rs + 4 * b);
  }
}

// The kernel: head up to y's first 16-byte boundary (one partial block), main
// loop of kBlocks four-lane blocks, then the rest in blocks of four, the last
// partial. Partial blocks are read and written lane by lane.
template <class Path, int kBlocks, SpecialValueFn kSpecial>
[[gnu::always_inline]] inline int32_t Kernel4(const float* y, const float* x, float* dst, int32_t n) {
  using S = Sse;
  if (n <= 0) {
    return StatusBadCount;
  }
  if (y == nullptr || x == nullptr || dst == nullptr) {
    return StatusNullPointer;
  }
  const lv_vmath_env::FpEnv env = lv_vmath_env::EnterKernel();
  const auto partial = [&](int32_t i, int m) {
    __m128 vy = S::LoadPartial(y + i, m);
    __m128 vx = S::LoadPartial(x + i, m);
    __m128 vr = Path::Fast(vy, vx);
    const int special = S::SpecialBits(vy, vx);
    if (special != 0) {
      FixSpecialLanes<1, kSpecial>(&vy, &vx, &vr, special);
    }
    S::StorePartial(dst + i, vr, m);
  };
  int32_t head = static_cast<int32_t>(((16 - (reinterpret_cast<uintptr_t>(y) & 15)) & 15) / 4);
  if (head > n) {
    head = n;
  }
  if (head > 0) {
    partial(0, head);
  }
  int32_t i = head;
  for (; n - i >= 4 * kBlocks; i += 4 * kBlocks) {
    __m128 vy[kBlocks];
    __m128 vx[kBlocks];
    __m128 vr[kBlocks];
    int special = 0;
    for (int b = 0; b < kBlocks; ++b) {
      vy[b] = _mm_loadu_ps(y + i + 4 * b);
      vx[b] = _mm_loadu_ps(x + i + 4 * b);
    }
    for (int b = 0; b < kBlocks; ++b) {
      vr[b] = Path::Fast(vy[b], vx[b]);
      special |= S::SpecialBits(vy[b], vx[b]) << (4 * b);
    }
    if (special != 0) [[unlikely]] {
      FixSpecialLanes<kBlocks, kSpecial>(vy, vx, vr, special);
    }
    for (int b = 0; b < kBlocks; ++b) {
      _mm_storeu_ps(dst + i + 4 * b, vr[b]);
    }
  }
  while (i < n) {
    const int m = (n - i < 4) ? static_cast<int>(n - i) : 4;
    partial(i, m);
    i += m;
  }
  lv_vmath_env::LeaveKernel(env);
  return 0;
}

// The class's kernel: class 0 the baseline path one block a step, class 1
// the quotient path four blocks a step, class 2 two.
template <SpecialValueFn kSpecial>
[[gnu::always_inline]] inline int32_t Kernel(const float* y, const float* x, float* dst, int32_t n) {
  static_assert(kClass <= 2, "class 3 runs the class-2 kernel");
  if constexpr (kClass == 0) {
    return Kernel4<BaselinePath, 1, kSpecial>(y, x, dst, n);
  } else {
    return Kernel4<QuotientPath, kClass == 1 ? 4 : 2, kSpecial>(y, x, dst, n);
  }
}

}  // namespace
}  // namespace LV_NS
