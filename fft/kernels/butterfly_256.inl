// The 256-bit butterfly kernels of classes 4, 5 and 7 (stage plan kWide256),
// included by butterfly_body.inl inside the class namespace: the medium kernel
// and the in-place kernel. Classes 5 and 7 fuse each twiddle product's sine
// term into its sum (class table: fusedProducts); class 4, without fused
// multiply-add, rounds every product of a twiddle multiplication before the addition or subtraction; all other
// operations are the same. (Class 6 runs the class-5 kernels.)
//
// Layouts of the working array (always 32-byte aligned):
// - after the first pass, blocks of 4 points: 4 real parts, then 4 imaginary;
// - from the 16-point pass on, blocks of 8 points: 8 real parts, then 8
//   imaginary parts (point p: real at float 16*(p/8) + p%8, imaginary 8 later).
// Every point stays within the bytes it occupies as an interleaved pair.
//
// Arithmetic (direction kSign: -1 forward, +1 inverse; j = kSign*i):
// - twiddle product with a stored (c, s), s = -sin: forward re = c*a - s*b,
//   im = c*b + s*a; inverse re = c*a + s*b, im = c*b - s*a; the cosine product
//   is rounded, the sine term added with one rounding (fused);
// - radix 4 (legs 0..3, twiddle entries 2, 1, 3 on legs 1, 2, 3):
//   y0 = (a + t2) + (t1 + t3), y2 = (a + t2) - (t1 + t3),
//   y1 = (a - t2) + j(t1 - t3), y3 = (a - t2) - j(t1 - t3);
// - radix 8 (legs hold residues 0,4,2,6,1,5,3,7): sums and differences P, M,
//   P26, M26, P15, M15, P37, M37; the rotations by odd multiples of 45 degrees
//   multiply by c8 = 0x3F3504F4 and -c8, each product rounded, then added;
// - no other operation is fused.

#define LV_BF_INLINE [[gnu::always_inline]] inline

using V = __m256;

struct Cx {
  V re, im;
};

LV_BF_INLINE V Add(V a, V b) { return _mm256_add_ps(a, b); }
LV_BF_INLINE V Sub(V a, V b) { return _mm256_sub_ps(a, b); }
LV_BF_INLINE V Mul(V a, V b) { return _mm256_mul_ps(a, b); }
LV_BF_INLINE Cx Add(Cx a, Cx b) { return {Add(a.re, b.re), Add(a.im, b.im)}; }
LV_BF_INLINE Cx Sub(Cx a, Cx b) { return {Sub(a.re, b.re), Sub(a.im, b.im)}; }

// a + j*b and a - j*b (j = +i inverse, -i forward): exchanges, no products.
template <int kSign>
LV_BF_INLINE Cx AddJ(Cx a, Cx b) {
  if constexpr (kSign > 0) return {Sub(a.re, b.im), Add(a.im, b.re)};
  return {Add(a.re, b.im), Sub(a.im, b.re)};
}
template <int kSign>
LV_BF_INLINE Cx SubJ(Cx a, Cx b) {
  if constexpr (kSign > 0) return {Add(a.re, b.im), Sub(a.im, b.re)};
  return {Sub(a.re, b.im), Add(a.im, b.re)};
}

LV_BF_INLINE V LoadA(const float* p) { return _mm256_load_ps(p); }
LV_BF_INLINE void StoreA(float* p, V v) { _mm256_store_ps(p, v); }
LV_BF_INLINE V LoadU(const float* p) { return _mm256_loadu_ps(p); }
LV_BF_INLINE void StoreU(float* p, V v) { _mm256_storeu_ps(p, v); }

// The 8 points starting at float f of a split-block (w = 8) array.
LV_BF_INLINE Cx LoadSplit(const float* f) { return {LoadA(f), LoadA(f + 8)}; }
LV_BF_INLINE void StoreSplit(float* f, Cx v) {
  StoreA(f, v.re);
  StoreA(f + 8, v.im);
}

// z times the twiddle (c, s) held in registers, conjugated for the inverse.
template <int kSign>
LV_BF_INLINE Cx TwiddleRegs(Cx z, V c, V s) {
  if constexpr (!kRow.fusedProducts) {
    if constexpr (kSign < 0) {
      return {Sub(Mul(c, z.re), Mul(s, z.im)), Add(Mul(c, z.im), Mul(s, z.re))};
    } else {
      return {Add(Mul(c, z.re), Mul(s, z.im)), Sub(Mul(c, z.im), Mul(s, z.re))};
    }
  } else if constexpr (kSign < 0) {
    return {_mm256_fnmadd_ps(s, z.im, Mul(c, z.re)), _mm256_fmadd_ps(s, z.re, Mul(c, z.im))};
  } else {
    return {_mm256_fmadd_ps(s, z.im, Mul(c, z.re)), _mm256_fnmadd_ps(s, z.re, Mul(c, z.im))};
  }
}
// The same with the stored twiddle (c at tw, s at tw + 8).
template <int kSign>
LV_BF_INLINE Cx Twiddle(Cx z, const float* tw) {
  return TwiddleRegs<kSign>(z, LoadA(tw), LoadA(tw + 8));
}

// Radix-4 butterfly on a = leg 0 and the twiddled t1 (leg 2), t2 (leg 1),
// t3 (leg 3); y[q] goes to leg q.
template <int kSign>
LV_BF_INLINE void Radix4(Cx a, Cx t1, Cx t2, Cx t3, Cx* y) {
  const Cx r = Add(a, t2);
  const Cx s = Sub(a, t2);
  const Cx p = Add(t1, t3);
  const Cx q = Sub(t1, t3);
  y[0] = Add(r, p);
  y[2] = Sub(r, p);
  y[1] = AddJ<kSign>(s, q);
  y[3] = SubJ<kSign>(s, q);
}

// Radix-8 butterfly on A = leg 0 and T[e] = twiddled residue e (e = 1..7);
// y[q] goes to leg q.
template <int kSign>
LV_BF_INLINE void Radix8(Cx a, const Cx* t, Cx* y) {
  const V h = _mm256_set1_ps(__builtin_bit_cast(float, 0x3F3504F4u));
  const V g = _mm256_set1_ps(__builtin_bit_cast(float, 0xBF3504F4u));
  const Cx p = Add(a, t[4]), m = Sub(a, t[4]);
  const Cx p26 = Add(t[2], t[6]), m26 = Sub(t[2], t[6]);
  const Cx p15 = Add(t[1], t[5]), m15 = Sub(t[1], t[5]);
  const Cx p37 = Add(t[3], t[7]), m37 = Sub(t[3], t[7]);
  const Cx s0 = Add(p, p26), s1 = Add(p15, p37);
  y[0] = Add(s0, s1);
  y[4] = Sub(s0, s1);
  const Cx d0 = Sub(p, p26), d1 = Sub(p15, p37);
  y[2] = AddJ<kSign>(d0, d1);
  y[6] = SubJ<kSign>(d0, d1);
  const Cx u = AddJ<kSign>(m, m26);
  const Cx v = SubJ<kSign>(m, m26);
  const Cx dd = AddJ<kSign>(m15, m37);
  const Cx ff = SubJ<kSign>(m15, m37);
  // pp = h*dd*(1 + j), qq = g*ff*(1 - j): each product rounded, then added.
  const Cx hd{Mul(h, dd.re), Mul(h, dd.im)};
  const Cx gf{Mul(g, ff.re), Mul(g, ff.im)};
  const Cx pp = AddJ<kSign>(hd, hd);
  const Cx qq = SubJ<kSign>(gf, gf);
  y[1] = Add(u, pp);
  y[5] = Sub(u, pp);
  y[3] = Add(v, qq);
  y[7] = Sub(v, qq);
}

// ---- first pass ----

// Four radix-4 butterflies on interleaved vectors a0..a3 (lane t = butterfly
// t) as 4-point split halves: re02 = (re of X0..X3 of butterfly 0 | of
// butterfly 2), im02 likewise, re13 and im13 for butterflies 1 and 3.
template <int kSign>
LV_BF_INLINE void FirstButterfliesHalves(V a0, V a1, V a2, V a3, V* re02, V* im02, V* re13, V* im13) {
  const V mask = kSign > 0 ? _mm256_setr_ps(-0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f)
                           : _mm256_setr_ps(0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f);
  const V s01 = Add(a0, a1), d01 = Sub(a0, a1);
  const V s23 = Add(a2, a3), d23 = Sub(a2, a3);
  const V r = _mm256_xor_ps(_mm256_permute_ps(d23, 0xB1), mask);  // j * d23
  const V x0 = Add(s01, s23), x2 = Sub(s01, s23);
  const V x1 = Add(d01, r), x3 = Sub(d01, r);
  const V u0 = _mm256_unpacklo_ps(x0, x1), u1 = _mm256_unpackhi_ps(x0, x1);
  const V v0 = _mm256_unpacklo_ps(x2, x3), v1 = _mm256_unpackhi_ps(x2, x3);
  *re02 = _mm256_castpd_ps(_mm256_unpacklo_pd(_mm256_castps_pd(u0), _mm256_castps_pd(v0)));
  *im02 = _mm256_castpd_ps(_mm256_unpackhi_pd(_mm256_castps_pd(u0), _mm256_castps_pd(v0)));
  *re13 = _mm256_castpd_ps(_mm256_unpacklo_pd(_mm256_castps_pd(u1), _mm256_castps_pd(v1)));
  *im13 = _mm256_castpd_ps(_mm256_unpackhi_pd(_mm256_castps_pd(u1), _mm256_castps_pd(v1)));
}

// The same butterflies as whole blocks: out[t] = (re of X0..X3, im of X0..X3).
template <int kSign>
LV_BF_INLINE void FirstButterflies(V a0, V a1, V a2, V a3, V* out) {
  V re02, im02, re13, im13;
  FirstButterfliesHalves<kSign>(a0, a1, a2, a3, &re02, &im02, &re13, &im13);
  out[0] = _mm256_permute2f128_ps(re02, im02, 0x20);
  out[2] = _mm256_permute2f128_ps(re02, im02, 0x31);
  out[1] = _mm256_permute2f128_ps(re13, im13, 0x20);
  out[3] = _mm256_permute2f128_ps(re13, im13, 0x31);
}

// 4 x 4 transposition of complex values among four interleaved registers.
LV_BF_INLINE void Transpose4(V r0, V r1, V r2, V r3, V* o) {
  const __m256d t0 = _mm256_unpacklo_pd(_mm256_castps_pd(r0), _mm256_castps_pd(r1));
  const __m256d t1 = _mm256_unpackhi_pd(_mm256_castps_pd(r0), _mm256_castps_pd(r1));
  const __m256d t2 = _mm256_unpacklo_pd(_mm256_castps_pd(r2), _mm256_castps_pd(r3));
  const __m256d t3 = _mm256_unpackhi_pd(_mm256_castps_pd(r2), _mm256_castps_pd(r3));
  o[0] = _mm256_castpd_ps(_mm256_permute2f128_pd(t0, t2, 0x20));
  o[1] = _mm256_castpd_ps(_mm256_permute2f128_pd(t1, t3, 0x20));
  o[2] = _mm256_castpd_ps(_mm256_permute2f128_pd(t0, t2, 0x31));
  o[3] = _mm256_castpd_ps(_mm256_permute2f128_pd(t1, t3, 0x31));
}

// The first pass of the medium kernel: the source in natural order, read in
// bit-reversed order through the swap list. Step k handles the 16 butterflies
// of the source points p + d + t (p = rev(8k), d in {0, 4, n/8, n/8 + 4},
// t = 0..3, with partners at +n/2, +n/4, +3n/4) and writes the blocks at
// 8k + rev(d) + rev(t). The next p is four times list entry 16(k + 1); the pass
// ends on the entry that reads 0 (entry n/4).
template <int kSign>
void FirstPassFromList(const float* x, float* y, int64_t n, const int32_t* list) {
  const int64_t half = n;          // floats of n/2 points
  const int64_t quarter = n / 2;   // floats of n/4 points
  const int64_t eighth = n / 4;    // floats of n/8 points
  // rev(d) in floats for d = 0, 4, n/8, n/8 + 4, and rev(t) in floats for t = 0..3.
  const int64_t revD[4] = {0, eighth, 8, eighth + 8};
  const int64_t srcD[4] = {0, 8, eighth, eighth + 8};
  const int64_t revT[4] = {0, half, quarter, half + quarter};
  int64_t p = 0;        // source point
  int64_t base = 0;     // floats of 8k points
  const int32_t* entry = list + 16;
  for (;;) {
    const float* s = x + 2 * p;
    #pragma GCC unroll 16
    for (int di = 0; di < 4; ++di) {
      const float* q = s + srcD[di];
      V out[4];
      FirstButterflies<kSign>(LoadU(q), LoadU(q + half), LoadU(q + quarter), LoadU(q + half + quarter), out);
      float* dst = y + base + revD[di];
      #pragma GCC unroll 16
      for (int t = 0; t < 4; ++t) StoreA(dst + revT[t], out[t]);
    }
    const int32_t next = *entry;
    if (next == 0) break;
    p = 4 * static_cast<int64_t>(next);
    base += 16;
    entry += 16;
  }
}

// The first pass of the in-place kernel on `points` points (a multiple of 16)
// in bit-reversed order: each 4 consecutive points become one 4-point block
// at the same place.
template <int kSign>
void FirstPassBitReversed(const float* x, float* y, int64_t points) {
  for (int64_t c = 0; c < 2 * points; c += 32) {
    V a[4], out[4];
    Transpose4(LoadU(x + c), LoadU(x + c + 8), LoadU(x + c + 16), LoadU(x + c + 24), a);
    FirstButterflies<kSign>(a[0], a[1], a[2], a[3], out);
    #pragma GCC unroll 16
    for (int g = 0; g < 4; ++g) StoreA(y + c + 8 * g, out[g]);
  }
}

// ---- the 16-point pass (4-point blocks in, 8-point blocks out) ----

// One step of the 16-point pass: legs m = 0..3 hold, in lanes 0-3, the 4-point
// block at +4m of the transform written to b0 and, in lanes 4-7, that of the
// transform written to b1; (c_e, s_e) the twiddles of W16^(e*j), j = lane.
template <int kSign>
LV_BF_INLINE void Sixteen(const Cx* leg, V c1, V s1, V c2, V s2, V c3, V s3, float* b0, float* b1) {
  Cx out[4];
  Radix4<kSign>(leg[0], TwiddleRegs<kSign>(leg[2], c1, s1), TwiddleRegs<kSign>(leg[1], c2, s2),
                TwiddleRegs<kSign>(leg[3], c3, s3), out);
  // Points 0-7 of a transform = outputs 0 and 1, points 8-15 = outputs 2, 3.
  StoreA(b0, _mm256_permute2f128_ps(out[0].re, out[1].re, 0x20));
  StoreA(b0 + 8, _mm256_permute2f128_ps(out[0].im, out[1].im, 0x20));
  StoreA(b0 + 16, _mm256_permute2f128_ps(out[2].re, out[3].re, 0x20));
  StoreA(b0 + 24, _mm256_permute2f128_ps(out[2].im, out[3].im, 0x20));
  StoreA(b1, _mm256_permute2f128_ps(out[0].re, out[1].re, 0x31));
  StoreA(b1 + 8, _mm256_permute2f128_ps(out[0].im, out[1].im, 0x31));
  StoreA(b1 + 16, _mm256_permute2f128_ps(out[2].re, out[3].re, 0x31));
  StoreA(b1 + 24, _mm256_permute2f128_ps(out[2].im, out[3].im, 0x31));
}

// Over `points` points (a multiple of 32), two 16-point transforms per step:
// lanes 0-3 from one, lanes 4-7 from the next; run: for e = 1, 2, 3, four
// cosines then four sines of W16^(e*j).
template <int kSign>
void Pass16(float* y, int64_t points, const float* run) {
  const V c1 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run));
  const V s1 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 4));
  const V c2 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 8));
  const V s2 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 12));
  const V c3 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 16));
  const V s3 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 20));
  for (int64_t f = 0; f < 2 * points; f += 64) {
    float* b0 = y + f;       // first transform: blocks at b0 + 8m
    float* b1 = y + f + 32;  // second transform
    Cx leg[4];
    #pragma GCC unroll 16
    for (int m = 0; m < 4; ++m) {
      leg[m].re = _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_load_ps(b0 + 8 * m)), _mm_load_ps(b1 + 8 * m), 1);
      leg[m].im =
          _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_load_ps(b0 + 8 * m + 4)), _mm_load_ps(b1 + 8 * m + 4), 1);
    }
    Sixteen<kSign>(leg, c1, s1, c2, s2, c3, s3, b0, b1);
  }
}

// The first pass and the 16-point pass in one sweep (n >= 128): steps 2g and
// 2g + 1 of the first pass produce every 4-point block of the 16-point
// transforms at 16g + e + rev(t) (e = 0 or n/8, t = 0..3), whose legs m = 0..3
// are the blocks at +4m: from step 2g the runs with rev(d) = e and e + 4, from
// step 2g + 1 the same two runs. The butterflies' 4-point halves pair the
// transforms of t = 0 and 2, and of t = 1 and 3, exactly as the 16-point pass
// pairs its lanes, so nothing goes through memory between the two passes.
// Same operations, same results as FirstPassFromList followed by Pass16.
template <int kSign>
void FirstAndSixteenFromList(const float* x, float* y, int64_t n, const int32_t* list, const float* run) {
  const V c1 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run));
  const V s1 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 4));
  const V c2 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 8));
  const V s2 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 12));
  const V c3 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 16));
  const V s3 = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(run + 20));
  const int64_t half = n;         // floats of n/2 points
  const int64_t quarter = n / 2;  // floats of n/4 points
  const int64_t eighth = n / 4;   // floats of n/8 points
  int64_t p0 = 0;
  int64_t base = 0;  // floats of 16g points
  const int32_t* entry = list + 16;
  for (;;) {
    const int64_t p1 = 4 * static_cast<int64_t>(entry[0]);
    #pragma GCC unroll 2
    for (int dlow = 0; dlow < 2; ++dlow) {
      // Runs rev(d) = e (source offset dlow*4 points) and e + 4 (n/8 + dlow*4).
      const int64_t offA = 8 * dlow, offB = eighth + 8 * dlow;
      const float* q[4] = {x + 2 * p0 + offA, x + 2 * p0 + offB, x + 2 * p1 + offA, x + 2 * p1 + offB};
      Cx leg02[4], leg13[4];
      #pragma GCC unroll 4
      for (int m = 0; m < 4; ++m) {
        const float* r = q[m];
        FirstButterfliesHalves<kSign>(LoadU(r), LoadU(r + half), LoadU(r + quarter), LoadU(r + half + quarter),
                                      &leg02[m].re, &leg02[m].im, &leg13[m].re, &leg13[m].im);
      }
      float* t = y + base + (dlow ? eighth : 0);
      Sixteen<kSign>(leg02, c1, s1, c2, s2, c3, s3, t, t + quarter);
      Sixteen<kSign>(leg13, c1, s1, c2, s2, c3, s3, t + half, t + half + quarter);
    }
    const int32_t next = entry[16];
    if (next == 0) break;
    p0 = 4 * static_cast<int64_t>(next);
    base += 32;
    entry += 32;
  }
}

// ---- radix-4 and radix-8 passes on 8-point blocks ----

// The run of the pass that merges sub-transforms of `span` points.
LV_BF_INLINE const float* RunOf(const float* tw, int64_t span) { return tw + 2 * span - 8; }

// Output of a pass: back into the working array, or (final pass) into the
// destination as interleaved pairs or as 8-point blocks, unaligned.
struct ToWorking {
  LV_BF_INLINE static void Store(float* f, Cx v) { StoreSplit(f, v); }
};
struct ToPairs {
  LV_BF_INLINE static void Store(float* f, Cx v) {
    const V lo = _mm256_unpacklo_ps(v.re, v.im);
    const V hi = _mm256_unpackhi_ps(v.re, v.im);
    StoreU(f, _mm256_permute2f128_ps(lo, hi, 0x20));
    StoreU(f + 8, _mm256_permute2f128_ps(lo, hi, 0x31));
  }
};
struct ToBlocks {
  LV_BF_INLINE static void Store(float* f, Cx v) {
    StoreU(f, v.re);
    StoreU(f + 8, v.im);
  }
};

// Radix 4 of span s over `points` points of y (groups of 4s points), output
// through Out at the same float offsets of out.
template <int kSign, class Out>
void PassR4(const float* y, float* out, int64_t points, int64_t span, const float* tw) {
  const float* run = RunOf(tw, span);
  const int64_t legF = 2 * span;
  for (int64_t g = 0; g < 2 * points; g += 4 * legF) {
    const float* twg = run;
    for (int64_t f = g; f < g + legF; f += 16, twg += 48) {
      const Cx a = LoadSplit(y + f);
      const Cx t2 = Twiddle<kSign>(LoadSplit(y + f + legF), twg + 16);
      const Cx t1 = Twiddle<kSign>(LoadSplit(y + f + 2 * legF), twg);
      const Cx t3 = Twiddle<kSign>(LoadSplit(y + f + 3 * legF), twg + 32);
      Cx r[4];
      Radix4<kSign>(a, t1, t2, t3, r);
      Out::Store(out + f, r[0]);
      Out::Store(out + f + legF, r[1]);
      Out::Store(out + f + 2 * legF, r[2]);
      Out::Store(out + f + 3 * legF, r[3]);
    }
  }
}

// Radix 8 of span s: leg r uses twiddle entry rev3(r).
template <int kSign, class Out>
void PassR8(const float* y, float* out, int64_t points, int64_t span, const float* tw) {
  const float* run = RunOf(tw, span);
  const int64_t legF = 2 * span;
  constexpr int kResidue[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  for (int64_t g = 0; g < 2 * points; g += 8 * legF) {
    const float* twg = run;
    for (int64_t f = g; f < g + legF; f += 16, twg += 112) {
      const Cx a = LoadSplit(y + f);
      Cx t[8];
      #pragma GCC unroll 16
      for (int r = 1; r < 8; ++r) {
        const int e = kResidue[r];
        t[e] = Twiddle<kSign>(LoadSplit(y + f + r * legF), twg + 16 * (e - 1));
      }
      Cx o[8];
      Radix8<kSign>(a, t, o);
      Out::Store(out + f, o[0]);
      Out::Store(out + f + 4 * legF, o[4]);
      Out::Store(out + f + 2 * legF, o[2]);
      Out::Store(out + f + 6 * legF, o[6]);
      Out::Store(out + f + legF, o[1]);
      Out::Store(out + f + 5 * legF, o[5]);
      Out::Store(out + f + 3 * legF, o[3]);
      Out::Store(out + f + 7 * legF, o[7]);
    }
  }
}

// The passes of a 2048-point block after its 16-point pass: radix 8 on span 16
// for odd L, radix 4 otherwise, while the block holds at least 4 sub-transforms.
// Returns the span reached (1024 for even L, 2048 for odd L).
template <int kSign>
int64_t BlockPasses(float* y, int L, const float* tw) {
  int64_t span = 16;
  while (2048 / span >= 4) {
    if (span == 16 && (L & 1)) {
      PassR8<kSign, ToWorking>(y, y, 2048, span, tw);
      span *= 8;
    } else {
      PassR4<kSign, ToWorking>(y, y, 2048, span, tw);
      span *= 4;
    }
  }
  return span;
}

// Radix-4 passes over the whole array while more than 4 sub-transforms remain,
// then the final radix-4 pass of span n/4 into out.
template <int kSign, class Out>
void ArrayAndFinalPasses(float* y, float* out, int64_t n, int64_t span, const float* tw) {
  while (n / span > 4) {
    PassR4<kSign, ToWorking>(y, y, n, span, tw);
    span *= 4;
  }
  PassR4<kSign, Out>(y, out, n, span, tw);
}

LV_BF_INLINE int Log2(uint64_t n) { return 63 - __builtin_clzll(n); }

template <int kSign>
void MediumKernel(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t nPoints, const float* tw,
                  const int32_t* list, uint8_t* work) {
  const int64_t n = static_cast<int64_t>(nPoints);
  const int L = Log2(nPoints);
  const float* x = &src->re;
  float* out = &dst->re;
  float* y = (src != dst && (reinterpret_cast<uintptr_t>(out) & 31) == 0) ? out : reinterpret_cast<float*>(work);
  if (n == 64) {
    FirstPassFromList<kSign>(x, y, n, list);
    Pass16<kSign>(y, n, tw);
  } else {
    FirstAndSixteenFromList<kSign>(x, y, n, list, tw);
  }
  if (n <= 2048) {
    switch (L) {
      case 6:
        PassR4<kSign, ToPairs>(y, out, n, 16, tw);
        break;
      case 7:
        PassR8<kSign, ToPairs>(y, out, n, 16, tw);
        break;
      case 8:
        PassR4<kSign, ToWorking>(y, y, n, 16, tw);
        PassR4<kSign, ToPairs>(y, out, n, 64, tw);
        break;
      case 9:
        PassR8<kSign, ToWorking>(y, y, n, 16, tw);
        PassR4<kSign, ToPairs>(y, out, n, 128, tw);
        break;
      case 10:
        PassR8<kSign, ToWorking>(y, y, n, 16, tw);
        PassR8<kSign, ToPairs>(y, out, n, 128, tw);
        break;
      default:  // 11
        PassR8<kSign, ToWorking>(y, y, n, 16, tw);
        PassR4<kSign, ToWorking>(y, y, n, 128, tw);
        PassR4<kSign, ToPairs>(y, out, n, 512, tw);
        break;
    }
  } else {
    int64_t span = 0;
    for (int64_t b = 0; b < 2 * n; b += 4096) {
      span = BlockPasses<kSign>(y + b, L, tw);
    }
    ArrayAndFinalPasses<kSign, ToPairs>(y, out, n, span, tw);
  }
  _mm256_zeroupper();
}

template <int kSign>
void InPlaceKernel(ComplexFloat32* data, uint64_t nPoints, const float* tw, uint8_t* work, int32_t lastFlag) {
  const int64_t n = static_cast<int64_t>(nPoints);
  const int L = Log2(nPoints);
  float* d = &data->re;
  float* y = (reinterpret_cast<uintptr_t>(d) & 31) == 0 ? d : reinterpret_cast<float*>(work);
  int64_t span = 0;
  for (int64_t b = 0; b < 2 * n; b += 4096) {
    FirstPassBitReversed<kSign>(d + b, y + b, 2048);
    Pass16<kSign>(y + b, 2048, tw);
    span = BlockPasses<kSign>(y + b, L, tw);
  }
  if (lastFlag == 1) {
    ArrayAndFinalPasses<kSign, ToPairs>(y, d, n, span, tw);
  } else {
    ArrayAndFinalPasses<kSign, ToBlocks>(y, d, n, span, tw);
  }
  _mm256_zeroupper();
}

#undef LV_BF_INLINE
