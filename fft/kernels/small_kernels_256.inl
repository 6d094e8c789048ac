// The 256-bit small-order FFT kernels of classes 4, 5 and 7 (128-bit
// operations up to order 3, 256-bit from order 4), included by
// small_kernels_body.inl inside the class namespace. Classes compiled with FMA (5 and 7)
// fuse at exactly four kinds of place; class 4 rounds every product:
//   1. twiddle rotation: z.re*c - fl(z.im*s) and z.im*c + fl(z.re*s), the
//      cosine product fused;
//   2. 8-point butterfly: p - q and p + q with p = h*b1 fused, q = fl(h*b3);
//   3. order 3: the product with (h, h, -h, -h) fused into both E + ... and E - ...;
//   4. normalising orders 5 and 6: s*x[n] fused into x[n] +- x[n + N/2],
//      s*x[n + N/2] rounded first.
// Everything else is rounded on its own, in the grouping written below.
//
// Direction: kSign = +1 for the inverse (j = +i), -1 for the forward
// (j = -i). The forward kernels are the inverse ones with every rotation
// conjugated. Complex values are interleaved (re, im) in the vector lanes.

#define LV_SK_INLINE [[gnu::always_inline]] inline

using V8 = __m256;
using V4 = __m128;

constexpr float Bits(uint32_t b) { return __builtin_bit_cast(float, b); }

// cos and sin of 2 pi m/64, m = 0..8: the floats nearest to the exact values.
constexpr uint32_t kCos64Bits[9] = {0x3F800000, 0x3F7EC46D, 0x3F7B14BE, 0x3F74FA0B, 0x3F6C835E,
                                    0x3F61C598, 0x3F54DB31, 0x3F45E403, 0x3F3504F3};
constexpr uint32_t kSin64Bits[9] = {0x00000000, 0x3DC8BD36, 0x3E47C5C2, 0x3E94A031, 0x3EC3EF15,
                                    0x3EF15AEA, 0x3F0E39DA, 0x3F226799, 0x3F3504F3};
// h, the float nearest to 1/sqrt(2) (the small kernels' value).
constexpr float kH = Bits(0x3F3504F3);

struct CosSin {
  float c, s;
};

constexpr float Neg(float v) { return v == 0.0f ? 0.0f : -v; }

// cos and sin of 2 pi m/64 for any m, by the symmetries of the first octant;
// exact zeros are +0.
constexpr CosSin Turn64(int m) {
  m &= 63;
  const int q = m / 16;
  const int r = m % 16;
  const float c0 = r <= 8 ? Bits(kCos64Bits[r]) : Bits(kSin64Bits[16 - r]);
  const float s0 = r <= 8 ? Bits(kSin64Bits[r]) : Bits(kCos64Bits[16 - r]);
  switch (q) {
    case 0:
      return {c0, s0};
    case 1:
      return {Neg(s0), c0};
    case 2:
      return {Neg(c0), Neg(s0)};
    default:
      return {s0, Neg(c0)};
  }
}

// ---- 256-bit helpers ----

LV_SK_INLINE V8 Add(V8 a, V8 b) { return _mm256_add_ps(a, b); }
LV_SK_INLINE V8 Sub(V8 a, V8 b) { return _mm256_sub_ps(a, b); }
LV_SK_INLINE V8 Mul(V8 a, V8 b) { return _mm256_mul_ps(a, b); }
LV_SK_INLINE V8 Swap(V8 v) { return _mm256_permute_ps(v, 0xB1); }

// j*v with j = kSign*i: +i*v = (-im, re), -i*v = (im, -re).
template <int kSign>
LV_SK_INLINE V8 MulJ(V8 v) {
  const V8 mask = kSign > 0 ? _mm256_setr_ps(-0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f)
                            : _mm256_setr_ps(0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f);
  return _mm256_xor_ps(Swap(v), mask);
}

#if defined(__FMA__)
// a*b - c and a*b + c with one rounding.
LV_SK_INLINE V8 FusedMulSub(V8 a, V8 b, V8 c) { return _mm256_fmsub_ps(a, b, c); }
LV_SK_INLINE V8 FusedMulAdd(V8 a, V8 b, V8 c) { return _mm256_fmadd_ps(a, b, c); }
LV_SK_INLINE V4 FusedMulAdd4(V4 a, V4 b, V4 c) { return _mm_fmadd_ps(a, b, c); }
LV_SK_INLINE V4 FusedNegMulAdd4(V4 a, V4 b, V4 c) { return _mm_fnmadd_ps(a, b, c); }
#endif

// a*b - c and a*b + c: fused in the FMA classes, product rounded first otherwise.
LV_SK_INLINE V8 MulSubFusedIfFma(V8 a, V8 b, V8 c) {
#if defined(__FMA__)
  return FusedMulSub(a, b, c);
#else
  return Sub(Mul(a, b), c);
#endif
}
LV_SK_INLINE V8 MulAddFusedIfFma(V8 a, V8 b, V8 c) {
#if defined(__FMA__)
  return FusedMulAdd(a, b, c);
#else
  return Add(Mul(a, b), c);
#endif
}

// The twiddle vectors of a register whose complex lane l is multiplied by
// W_N^(e_l) (direction of kSign): cosines (c, c), sines (kSign*s, -kSign*s).
template <int kSign, int N>
LV_SK_INLINE V8 CosVec(int e0, int e1, int e2, int e3) {
  const float c0 = Turn64(e0 * (64 / N)).c, c1 = Turn64(e1 * (64 / N)).c;
  const float c2 = Turn64(e2 * (64 / N)).c, c3 = Turn64(e3 * (64 / N)).c;
  return _mm256_setr_ps(c0, c0, c1, c1, c2, c2, c3, c3);
}
template <int kSign, int N>
LV_SK_INLINE V8 SinVec(int e0, int e1, int e2, int e3) {
  const float s0 = Turn64(e0 * (64 / N)).s, s1 = Turn64(e1 * (64 / N)).s;
  const float s2 = Turn64(e2 * (64 / N)).s, s3 = Turn64(e3 * (64 / N)).s;
  if constexpr (kSign > 0) {
    return _mm256_setr_ps(s0, Neg(s0), s1, Neg(s1), s2, Neg(s2), s3, Neg(s3));
  } else {
    return _mm256_setr_ps(Neg(s0), s0, Neg(s1), s1, Neg(s2), s2, Neg(s3), s3);
  }
}

// z rotated lane by lane: z*cos - swap(z)*sin, the cosine product fused in
// the FMA classes.
template <int kSign, int N>
LV_SK_INLINE V8 Rotate(V8 z, int e0, int e1, int e2, int e3) {
  const V8 cv = CosVec<kSign, N>(e0, e1, e2, e3);
  const V8 sv = SinVec<kSign, N>(e0, e1, e2, e3);
  return MulSubFusedIfFma(z, cv, Mul(Swap(z), sv));
}

// The 4-point butterfly: a = u0 + u2, b = u0 - u2, c = u1 + u3, d = u1 - u3,
// t = -j*d; Y0 = a + c, Y2 = a - c, Y1 = b - t, Y3 = b + t.
template <int kSign>
LV_SK_INLINE void Radix4Tail(V8 a, V8 b, V8 c, V8 d, V8* y) {
  const V8 t = MulJ<-kSign>(d);
  y[0] = Add(a, c);
  y[2] = Sub(a, c);
  y[1] = Sub(b, t);
  y[3] = Add(b, t);
}
template <int kSign>
LV_SK_INLINE void Radix4(V8 u0, V8 u1, V8 u2, V8 u3, V8* y) {
  Radix4Tail<kSign>(Add(u0, u2), Sub(u0, u2), Add(u1, u3), Sub(u1, u3), y);
}

// x[n] +- x[n + N/2] of normalised inputs: s*x[n] fused into both (FMA
// classes); class 4 rounds both products first.
LV_SK_INLINE void ScaledSumDiff(V8 s, V8 lo, V8 hi, V8* sum, V8* diff) {
  const V8 sh = Mul(s, hi);
#if defined(__FMA__)
  *sum = FusedMulAdd(s, lo, sh);
  *diff = FusedMulSub(s, lo, sh);
#else
  const V8 sl = Mul(s, lo);
  *sum = Add(sl, sh);
  *diff = Sub(sl, sh);
#endif
}

template <int kSign>
LV_SK_INLINE void Radix4Scaled(V8 s, V8 u0, V8 u1, V8 u2, V8 u3, V8* y) {
  V8 a, b, c, d;
  ScaledSumDiff(s, u0, u2, &a, &b);
  ScaledSumDiff(s, u1, u3, &c, &d);
  Radix4Tail<kSign>(a, b, c, d, y);
}

// The 8-point butterfly, radix 2 first, from a_m = y_m + y_(m+4) and
// b_m = y_m - y_(m+4).
template <int kSign>
LV_SK_INLINE void Butterfly8Tail(const V8* a, const V8* b, V8* y) {
  const V8 h = _mm256_set1_ps(kH);
  const V8 q = Mul(h, b[3]);
  const V8 pmq = MulSubFusedIfFma(h, b[1], q);
  const V8 ppq = MulAddFusedIfFma(h, b[1], q);
  const V8 s02 = Add(a[0], a[2]);
  const V8 s13 = Add(a[1], a[3]);
  y[0] = Add(s02, s13);
  y[4] = Sub(s02, s13);
  const V8 d02 = Sub(a[0], a[2]);
  const V8 jd13 = MulJ<kSign>(Sub(a[1], a[3]));
  y[2] = Add(d02, jd13);
  y[6] = Sub(d02, jd13);
  const V8 e = Add(b[0], pmq);
  const V8 jf = MulJ<kSign>(Add(b[2], ppq));
  y[1] = Add(e, jf);
  y[7] = Sub(e, jf);
  const V8 g = Sub(b[0], pmq);
  const V8 jk = MulJ<kSign>(Sub(ppq, b[2]));
  y[3] = Add(g, jk);
  y[5] = Sub(g, jk);
}
template <int kSign>
LV_SK_INLINE void Butterfly8(const V8* u, V8* y) {
  V8 a[4], b[4];
  #pragma GCC unroll 16
  for (int m = 0; m < 4; ++m) {
    a[m] = Add(u[m], u[m + 4]);
    b[m] = Sub(u[m], u[m + 4]);
  }
  Butterfly8Tail<kSign>(a, b, y);
}
template <int kSign>
LV_SK_INLINE void Butterfly8Scaled(V8 s, const V8* u, V8* y) {
  V8 a[4], b[4];
  #pragma GCC unroll 16
  for (int m = 0; m < 4; ++m) {
    ScaledSumDiff(s, u[m], u[m + 4], &a[m], &b[m]);
  }
  Butterfly8Tail<kSign>(a, b, y);
}

// The 4 x 4 complex transposition among four registers.
LV_SK_INLINE void Transpose4(V8 r0, V8 r1, V8 r2, V8 r3, V8* o) {
  const __m256d t0 = _mm256_unpacklo_pd(_mm256_castps_pd(r0), _mm256_castps_pd(r1));
  const __m256d t1 = _mm256_unpackhi_pd(_mm256_castps_pd(r0), _mm256_castps_pd(r1));
  const __m256d t2 = _mm256_unpacklo_pd(_mm256_castps_pd(r2), _mm256_castps_pd(r3));
  const __m256d t3 = _mm256_unpackhi_pd(_mm256_castps_pd(r2), _mm256_castps_pd(r3));
  o[0] = _mm256_castpd_ps(_mm256_permute2f128_pd(t0, t2, 0x20));
  o[1] = _mm256_castpd_ps(_mm256_permute2f128_pd(t1, t3, 0x20));
  o[2] = _mm256_castpd_ps(_mm256_permute2f128_pd(t0, t2, 0x31));
  o[3] = _mm256_castpd_ps(_mm256_permute2f128_pd(t1, t3, 0x31));
}

// Memory access of orders 4 to 6: whole 32-byte accesses when both arrays are
// 32-byte aligned, two 16-byte accesses (lower half first) otherwise.
struct FullAccess {
  LV_SK_INLINE static V8 Load(const float* p) { return _mm256_load_ps(p); }
  LV_SK_INLINE static void Store(float* p, V8 v) { _mm256_store_ps(p, v); }
};
struct SplitAccess {
  LV_SK_INLINE static V8 Load(const float* p) {
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(p)), _mm_loadu_ps(p + 4), 1);
  }
  LV_SK_INLINE static void Store(float* p, V8 v) {
    _mm_storeu_ps(p, _mm256_castps256_ps128(v));
    _mm_storeu_ps(p + 4, _mm256_extractf128_ps(v, 1));
  }
};

LV_SK_INLINE bool BothAligned32(const void* a, const void* b) {
  return ((reinterpret_cast<uintptr_t>(a) | reinterpret_cast<uintptr_t>(b)) & 31) == 0;
}

// ---- Order 4: 4 x 4 ----
template <int kSign, bool kScale, class M>
LV_SK_INLINE void Order4Body(const float* x, float* out, float scale) {
  V8 in[4], a[4], b[4], y[4];
  #pragma GCC unroll 16
  for (int j = 0; j < 4; ++j) in[j] = M::Load(x + 8 * j);
  Radix4<kSign>(in[0], in[1], in[2], in[3], a);
  a[1] = Rotate<kSign, 16>(a[1], 0, 1, 2, 3);
  a[2] = Rotate<kSign, 16>(a[2], 0, 2, 4, 6);
  a[3] = Rotate<kSign, 16>(a[3], 0, 3, 6, 9);
  Transpose4(a[0], a[1], a[2], a[3], b);
  Radix4<kSign>(b[0], b[1], b[2], b[3], y);
  if constexpr (kScale) {
    const V8 s = _mm256_set1_ps(scale);
    #pragma GCC unroll 16
    for (int q = 0; q < 4; ++q) y[q] = Mul(y[q], s);
  }
  #pragma GCC unroll 16
  for (int q = 0; q < 4; ++q) M::Store(out + 8 * q, y[q]);
}

// ---- Order 5: 8 x 4 ----
template <int kSign, bool kScale, class M>
LV_SK_INLINE void Order5Body(const float* x, float* out, float scale) {
  V8 in[8], a[2][4], b[8], y[8];
  #pragma GCC unroll 16
  for (int j = 0; j < 8; ++j) in[j] = M::Load(x + 8 * j);
  #pragma GCC unroll 16
  for (int g = 0; g < 2; ++g) {
    if constexpr (kScale) {
      Radix4Scaled<kSign>(_mm256_set1_ps(scale), in[g], in[g + 2], in[g + 4], in[g + 6], a[g]);
    } else {
      Radix4<kSign>(in[g], in[g + 2], in[g + 4], in[g + 6], a[g]);
    }
  }
  #pragma GCC unroll 16
  for (int g = 0; g < 2; ++g) {
    #pragma GCC unroll 16
    for (int k = 1; k < 4; ++k) {
      const int r = 4 * g;
      a[g][k] = Rotate<kSign, 32>(a[g][k], r * k, (r + 1) * k, (r + 2) * k, (r + 3) * k);
    }
    Transpose4(a[g][0], a[g][1], a[g][2], a[g][3], b + 4 * g);
  }
  Butterfly8<kSign>(b, y);
  #pragma GCC unroll 16
  for (int q = 0; q < 8; ++q) M::Store(out + 8 * q, y[q]);
}

// ---- Order 6: 8 x 8 ----
template <int kSign, bool kScale, class M>
LV_SK_INLINE void Order6Body(const float* x, float* out, float scale) {
  V8 in[16], a[2][8];
  #pragma GCC unroll 16
  for (int j = 0; j < 16; ++j) in[j] = M::Load(x + 8 * j);
  #pragma GCC unroll 16
  for (int g = 0; g < 2; ++g) {
    V8 u[8];
    #pragma GCC unroll 16
    for (int m = 0; m < 8; ++m) u[m] = in[g + 2 * m];
    if constexpr (kScale) {
      Butterfly8Scaled<kSign>(_mm256_set1_ps(scale), u, a[g]);
    } else {
      Butterfly8<kSign>(u, a[g]);
    }
  }
  #pragma GCC unroll 16
  for (int g = 0; g < 2; ++g) {
    #pragma GCC unroll 16
    for (int k = 1; k < 8; ++k) {
      const int r = 4 * g;
      a[g][k] = Rotate<kSign, 64>(a[g][k], r * k, (r + 1) * k, (r + 2) * k, (r + 3) * k);
    }
  }
  V8 y[2][8];
  #pragma GCC unroll 16
  for (int blk = 0; blk < 2; ++blk) {
    V8 b[8];
    #pragma GCC unroll 16
    for (int g = 0; g < 2; ++g) {
      Transpose4(a[g][4 * blk], a[g][4 * blk + 1], a[g][4 * blk + 2], a[g][4 * blk + 3], b + 4 * g);
    }
    Butterfly8<kSign>(b, y[blk]);
  }
  #pragma GCC unroll 16
  for (int blk = 0; blk < 2; ++blk) {
    #pragma GCC unroll 16
    for (int q = 0; q < 8; ++q) M::Store(out + 16 * q + 8 * blk, y[blk][q]);
  }
}

template <int kSign, bool kScale>
void Order4(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const float* x = &src->re;
  float* out = &dst->re;
  if (BothAligned32(x, out)) {
    Order4Body<kSign, kScale, FullAccess>(x, out, scale);
  } else {
    Order4Body<kSign, kScale, SplitAccess>(x, out, scale);
  }
  _mm256_zeroupper();
}
template <int kSign, bool kScale>
void Order5(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const float* x = &src->re;
  float* out = &dst->re;
  if (BothAligned32(x, out)) {
    Order5Body<kSign, kScale, FullAccess>(x, out, scale);
  } else {
    Order5Body<kSign, kScale, SplitAccess>(x, out, scale);
  }
  _mm256_zeroupper();
}
template <int kSign, bool kScale>
void Order6(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const float* x = &src->re;
  float* out = &dst->re;
  if (BothAligned32(x, out)) {
    Order6Body<kSign, kScale, FullAccess>(x, out, scale);
  } else {
    Order6Body<kSign, kScale, SplitAccess>(x, out, scale);
  }
  _mm256_zeroupper();
}

// ---- 128-bit orders 0 to 3 ----

// 64-bit loads and stores of one point; the arrays are only float-aligned.
LV_SK_INLINE V4 Load64(const float* p) {
  double d;
  __builtin_memcpy(&d, p, 8);
  return _mm_castpd_ps(_mm_set_sd(d));
}
LV_SK_INLINE void Store64(float* p, V4 v) {
  const double d = _mm_cvtsd_f64(_mm_castps_pd(v));
  __builtin_memcpy(p, &d, 8);
}
LV_SK_INLINE void Store64High(float* p, V4 v) {
  const __m128d w = _mm_castps_pd(v);
  const double d = _mm_cvtsd_f64(_mm_unpackhi_pd(w, w));
  __builtin_memcpy(p, &d, 8);
}

template <int kSign>
LV_SK_INLINE V4 MulJ4(V4 v) {
  const V4 mask = kSign > 0 ? _mm_setr_ps(-0.0f, 0.0f, -0.0f, 0.0f) : _mm_setr_ps(0.0f, -0.0f, 0.0f, -0.0f);
  return _mm_xor_ps(_mm_permute_ps(v, 0xB1), mask);
}

template <int kSign>
LV_SK_INLINE void Radix4x4(V4 u0, V4 u1, V4 u2, V4 u3, V4* y) {
  const V4 a = _mm_add_ps(u0, u2), b = _mm_sub_ps(u0, u2);
  const V4 c = _mm_add_ps(u1, u3), d = _mm_sub_ps(u1, u3);
  const V4 t = MulJ4<-kSign>(d);
  y[0] = _mm_add_ps(a, c);
  y[2] = _mm_sub_ps(a, c);
  y[1] = _mm_sub_ps(b, t);
  y[3] = _mm_add_ps(b, t);
}

inline void Order0Scaled(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  Store64(&dst->re, _mm_mul_ps(Load64(&src->re), _mm_set1_ps(scale)));
}

template <bool kScale>
void Order1(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const V4 x0 = Load64(&src[0].re), x1 = Load64(&src[1].re);
  V4 y0 = _mm_add_ps(x0, x1), y1 = _mm_sub_ps(x0, x1);
  if constexpr (kScale) {
    y0 = _mm_mul_ps(y0, _mm_set1_ps(scale));
    y1 = _mm_mul_ps(y1, _mm_set1_ps(scale));
  }
  Store64(&dst[1].re, y1);
  Store64(&dst[0].re, y0);
}

template <int kSign, bool kScale>
void Order2(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  V4 y[4];
  Radix4x4<kSign>(Load64(&src[0].re), Load64(&src[1].re), Load64(&src[2].re), Load64(&src[3].re), y);
  if constexpr (kScale) {
    const V4 s = _mm_set1_ps(scale);
    #pragma GCC unroll 16
    for (int k = 0; k < 4; ++k) y[k] = _mm_mul_ps(y[k], s);
  }
  #pragma GCC unroll 16
  for (int k = 0; k < 4; ++k) Store64(&dst[k].re, y[k]);
}

template <int kSign, bool kScale>
void Order3(const ComplexFloat32* src, ComplexFloat32* dst, float scale) {
  const float* x = &src->re;
  V4 y[4];
  Radix4x4<kSign>(_mm_loadu_ps(x), _mm_loadu_ps(x + 4), _mm_loadu_ps(x + 8), _mm_loadu_ps(x + 12), y);
  // y[k] = (E_k, O_k): regroup into (E0, E2), (O0, O2), (E1, E3), (O1, O3).
  const V4 e02 = _mm_movelh_ps(y[0], y[2]);
  const V4 o02 = _mm_movehl_ps(y[2], y[0]);
  const V4 e13 = _mm_movelh_ps(y[1], y[3]);
  const V4 o13 = _mm_movehl_ps(y[3], y[1]);
  // (O0, j*O2): the upper point's parts exchanged and one of them negated.
  const V4 jmask = kSign > 0 ? _mm_setr_ps(0.0f, 0.0f, -0.0f, 0.0f) : _mm_setr_ps(0.0f, 0.0f, 0.0f, -0.0f);
  const V4 r02 = _mm_xor_ps(_mm_shuffle_ps(o02, o02, _MM_SHUFFLE(2, 3, 1, 0)), jmask);
  V4 x02 = _mm_add_ps(e02, r02);
  V4 x46 = _mm_sub_ps(e02, r02);
  // ((1 + j) O1, (1 - j) O3), one addition per float, then times (h, h, -h, -h).
  const V4 pmmask = kSign > 0 ? _mm_setr_ps(-0.0f, 0.0f, 0.0f, -0.0f) : _mm_setr_ps(0.0f, -0.0f, -0.0f, 0.0f);
  const V4 t13 = _mm_add_ps(o13, _mm_xor_ps(_mm_permute_ps(o13, 0xB1), pmmask));
  const V4 hv = _mm_setr_ps(kH, kH, -kH, -kH);
#if defined(__FMA__)
  V4 x13 = FusedMulAdd4(hv, t13, e13);
  V4 x57 = FusedNegMulAdd4(hv, t13, e13);
#else
  const V4 p13 = _mm_mul_ps(hv, t13);
  V4 x13 = _mm_add_ps(e13, p13);
  V4 x57 = _mm_sub_ps(e13, p13);
#endif
  if constexpr (kScale) {
    const V4 s = _mm_set1_ps(scale);
    x02 = _mm_mul_ps(x02, s);
    x46 = _mm_mul_ps(x46, s);
    x13 = _mm_mul_ps(x13, s);
    x57 = _mm_mul_ps(x57, s);
  }
  float* out = &dst->re;
  Store64(out + 0, x02);
  Store64(out + 2, x13);
  Store64High(out + 4, x02);
  Store64High(out + 6, x13);
  Store64(out + 8, x46);
  Store64(out + 10, x57);
  Store64High(out + 12, x46);
  Store64High(out + 14, x57);
}

#undef LV_SK_INLINE
