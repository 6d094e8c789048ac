// The 128-bit medium and in-place butterfly kernels of class 1 (stage plan
// kMixed128),
// included by butterfly_body.inl inside the class namespace. kSign is -1 for
// the forward kernel, +1 for the inverse.
//
// In-place kernel: the data arrive in bit-reversed order as interleaved pairs;
// the medium kernel's first pass reads its source through the swap list
// instead and computes the same values. A twiddle-free
// radix-4 first pass writes blocks of 4 points (4 real parts, then 4 imaginary
// parts) into the working array (the data when 16-byte aligned, otherwise the
// work buffer); radix-4 and radix-8 passes follow in place in that layout, each
// reading its run of the twiddle table (per group of 4 positions, one vector
// of cosines and one of minus sines for each power 1 .. r-1). The final pass
// writes the data array: interleaved pairs when lastFlag is 1, blocks of 4
// points otherwise.
//
// Pass plan for n = 2^L (o index bits done, left = L - o): after the first
// pass (o = 2) the second is radix 8 for L = 7, 10, 11, 13, 14, else radix 4;
// later passes are radix 8 when left is 3 or more than 4, radix 4 otherwise.
//
// Arithmetic (forward; the inverse conjugates every rotation):
// - twiddle product z*(c + i*s): re = re*c - im*s, im = im*c + re*s, each
//   product rounded, no fused operations;
// - radix 4: legs 1, 2, 3 take powers 2, 1, 3; a = x0 + t1, b = x0 - t1,
//   e = t2 + t3, f = t2 - t3; y0 = a + e, y2 = a - e, y1 = b - i*f,
//   y3 = b + i*f;
// - radix 8: legs 1..7 take powers 4, 2, 6, 1, 5, 3, 7; the odd part rotates
//   by exp(-i*pi/4) and exp(-3i*pi/4) through sums and differences multiplied
//   by c8 = 0x3F3504F4 and -c8.

#define LV_BF1_INLINE [[gnu::always_inline]] inline

using V = __m128;

struct Cx {
  V re, im;
};

LV_BF1_INLINE V Add(V a, V b) { return _mm_add_ps(a, b); }
LV_BF1_INLINE V Sub(V a, V b) { return _mm_sub_ps(a, b); }
LV_BF1_INLINE V Mul(V a, V b) { return _mm_mul_ps(a, b); }
LV_BF1_INLINE Cx Add(Cx a, Cx b) { return {Add(a.re, b.re), Add(a.im, b.im)}; }
LV_BF1_INLINE Cx Sub(Cx a, Cx b) { return {Sub(a.re, b.re), Sub(a.im, b.im)}; }

// a - j*b and a + j*b with j = i (kInv) or -i (forward): exchanges only.
template <bool kInv>
LV_BF1_INLINE Cx SubJ(Cx a, Cx b) {
  if constexpr (kInv) return {Add(a.re, b.im), Sub(a.im, b.re)};
  return {Sub(a.re, b.im), Add(a.im, b.re)};
}
template <bool kInv>
LV_BF1_INLINE Cx AddJ(Cx a, Cx b) {
  if constexpr (kInv) return {Sub(a.re, b.im), Add(a.im, b.re)};
  return {Add(a.re, b.im), Sub(a.im, b.re)};
}

// The 4 points at float offset f of a block-layout array.
LV_BF1_INLINE Cx Load(const float* f) { return {_mm_load_ps(f), _mm_load_ps(f + 4)}; }
LV_BF1_INLINE void Store(float* f, Cx v) {
  _mm_store_ps(f, v.re);
  _mm_store_ps(f + 4, v.im);
}

// z times the stored twiddle (cosines at tw, minus sines at tw + 4),
// conjugated for the inverse.
template <bool kInv>
LV_BF1_INLINE Cx Twiddle(Cx z, const float* tw) {
  const V c = _mm_load_ps(tw);
  const V s = _mm_load_ps(tw + 4);
  if constexpr (kInv) {
    return {Add(Mul(z.re, c), Mul(z.im, s)), Sub(Mul(z.im, c), Mul(z.re, s))};
  } else {
    return {Sub(Mul(z.re, c), Mul(z.im, s)), Add(Mul(z.im, c), Mul(z.re, s))};
  }
}

template <bool kInv>
LV_BF1_INLINE void Radix4(Cx x[4], const float* tw) {
  const Cx t1 = Twiddle<kInv>(x[1], tw + 8);
  const Cx t2 = Twiddle<kInv>(x[2], tw);
  const Cx t3 = Twiddle<kInv>(x[3], tw + 16);
  const Cx a = Add(x[0], t1), b = Sub(x[0], t1);
  const Cx e = Add(t2, t3), f = Sub(t2, t3);
  x[0] = Add(a, e);
  x[2] = Sub(a, e);
  x[1] = AddJ<kInv>(b, f);
  x[3] = SubJ<kInv>(b, f);
}

template <bool kInv>
LV_BF1_INLINE void Radix8(Cx x[8], const float* tw) {
  constexpr int kPower[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  Cx t[8];
  t[0] = x[0];
  for (int m = 1; m < 8; ++m) t[m] = Twiddle<kInv>(x[m], tw + 8 * (kPower[m] - 1));
  const V c = _mm_castsi128_ps(_mm_set1_epi32(0x3F3504F4));
  const V nc = _mm_castsi128_ps(_mm_set1_epi32(static_cast<int32_t>(0xBF3504F4u)));
  const Cx a = Add(t[0], t[1]), b = Sub(t[0], t[1]);
  const Cx s23 = Add(t[2], t[3]), d23 = Sub(t[2], t[3]);
  const Cx s45 = Add(t[4], t[5]), d45 = Sub(t[4], t[5]);
  const Cx s67 = Add(t[6], t[7]), d67 = Sub(t[6], t[7]);
  const Cx e = Add(a, s23), f = Sub(a, s23), g = Add(s45, s67), h = Sub(s45, s67);
  x[0] = Add(e, g);
  x[4] = Sub(e, g);
  x[2] = AddJ<kInv>(f, h);
  x[6] = SubJ<kInv>(f, h);
  const Cx e1 = AddJ<kInv>(b, d23);
  const Cx e3 = SubJ<kInv>(b, d23);
  Cx r1, r3;
  if constexpr (kInv) {
    const V u1 = Mul(Sub(d45.re, d67.im), c), w1 = Mul(Add(d45.im, d67.re), c);
    const V u3 = Mul(Add(d45.re, d67.im), nc), w3 = Mul(Sub(d45.im, d67.re), nc);
    r1 = {Sub(u1, w1), Add(w1, u1)};
    r3 = {Add(u3, w3), Sub(w3, u3)};
  } else {
    const V u1 = Mul(Add(d45.re, d67.im), c), w1 = Mul(Sub(d45.im, d67.re), c);
    const V u3 = Mul(Sub(d45.re, d67.im), nc), w3 = Mul(Add(d45.im, d67.re), nc);
    r1 = {Add(u1, w1), Sub(w1, u1)};
    r3 = {Sub(u3, w3), Add(w3, u3)};
  }
  x[1] = Add(e1, r1);
  x[5] = Sub(e1, r1);
  x[3] = Add(e3, r3);
  x[7] = Sub(e3, r3);
}

// First pass: 4-point butterflies on interleaved pairs of `src`, two blocks
// per step, written as blocks into the 16-byte aligned `dst` (which may be
// src: each step reads its 8 points before writing them).
template <bool kInv>
void FirstPass(const float* src, float* dst, int64_t n) {
  const V flip = kInv ? _mm_castsi128_ps(_mm_set_epi32(0, static_cast<int32_t>(0x80000000u), 0,
                                                       static_cast<int32_t>(0x80000000u)))
                      : _mm_castsi128_ps(_mm_set_epi32(static_cast<int32_t>(0x80000000u), 0,
                                                       static_cast<int32_t>(0x80000000u), 0));
  for (int64_t k = 0; k < n; k += 8) {
    const float* s = src + 2 * k;
    const V u0 = _mm_loadu_ps(s), u1 = _mm_loadu_ps(s + 4), u2 = _mm_loadu_ps(s + 8), u3 = _mm_loadu_ps(s + 12);
    // Point m of both blocks: (block 0, block 1), interleaved.
    const V p0 = _mm_movelh_ps(u0, u2), p1 = _mm_movehl_ps(u2, u0);
    const V p2 = _mm_movelh_ps(u1, u3), p3 = _mm_movehl_ps(u3, u1);
    const V a0 = Add(p0, p1), b0 = Sub(p0, p1), a1 = Add(p2, p3), b1 = Sub(p2, p3);
    // Forward: -i*b1 = (im, -re); inverse: +i*b1 = (-im, re).
    const V rb1 = _mm_xor_ps(_mm_shuffle_ps(b1, b1, _MM_SHUFFLE(2, 3, 0, 1)), flip);
    const V y0 = Add(a0, a1), y2 = Sub(a0, a1), y1 = Add(b0, rb1), y3 = Sub(b0, rb1);
    const V l01 = _mm_unpacklo_ps(y0, y1), l23 = _mm_unpacklo_ps(y2, y3);
    const V h01 = _mm_unpackhi_ps(y0, y1), h23 = _mm_unpackhi_ps(y2, y3);
    float* d = dst + 2 * k;
    const V re0 = _mm_movelh_ps(l01, l23), im0 = _mm_movehl_ps(l23, l01);
    const V re1 = _mm_movelh_ps(h01, h23), im1 = _mm_movehl_ps(h23, h01);
    _mm_store_ps(d, re0);
    _mm_store_ps(d + 4, im0);
    _mm_store_ps(d + 8, re1);
    _mm_store_ps(d + 12, im1);
  }
}

// One middle pass of radix R and span s on the block-layout array w.
template <bool kInv, int R>
void MiddlePass(float* w, int64_t n, int64_t s, const float* run) {
  for (int64_t base = 0; base < n; base += R * s) {
    const float* tw = run;
    for (int64_t j = 0; j < s; j += 4, tw += 8 * (R - 1)) {
      Cx x[R];
      for (int m = 0; m < R; ++m) x[m] = Load(w + 2 * (base + m * s + j));
      if constexpr (R == 4) {
        Radix4<kInv>(x, tw);
      } else {
        Radix8<kInv>(x, tw);
      }
      for (int m = 0; m < R; ++m) Store(w + 2 * (base + m * s + j), x[m]);
    }
  }
}

// The final pass (block = whole array) from w into out.
template <bool kInv, int R, bool kPairs, bool kAligned>
void FinalPass(const float* w, float* out, int64_t n, const float* run) {
  const int64_t s = n / R;
  const float* tw = run;
  for (int64_t j = 0; j < s; j += 4, tw += 8 * (R - 1)) {
    Cx x[R];
    for (int m = 0; m < R; ++m) x[m] = Load(w + 2 * (m * s + j));
    if constexpr (R == 4) {
      Radix4<kInv>(x, tw);
    } else {
      Radix8<kInv>(x, tw);
    }
    for (int m = 0; m < R; ++m) {
      float* d = out + 2 * (m * s + j);
      V lo = x[m].re, hi = x[m].im;
      if constexpr (kPairs) {
        lo = _mm_unpacklo_ps(x[m].re, x[m].im);
        hi = _mm_unpackhi_ps(x[m].re, x[m].im);
      }
      if constexpr (kAligned) {
        _mm_store_ps(d, lo);
        _mm_store_ps(d + 4, hi);
      } else {
        _mm_storeu_ps(d, lo);
        _mm_storeu_ps(d + 4, hi);
      }
    }
  }
}

template <bool kInv, int R>
void Final(const float* w, float* out, int64_t n, const float* run, bool pairs, bool aligned) {
  if (pairs) {
    if (aligned) {
      FinalPass<kInv, R, true, true>(w, out, n, run);
    } else {
      FinalPass<kInv, R, true, false>(w, out, n, run);
    }
  } else if (aligned) {
    FinalPass<kInv, R, false, true>(w, out, n, run);
  } else {
    FinalPass<kInv, R, false, false>(w, out, n, run);
  }
}

// The first pass of the medium kernel, bit reversal fused: the same 4-point
// transforms as FirstPass, on the points the swap list names (list entry 2k is
// rev(4k)). Step t takes p = rev(8t) (entry 4t, 0 for t = 0) and the
// butterflies whose first points are p, p + n/8 (block 2t + 1), p + 1 and
// p + n/8 + 1; they fill the blocks at points 8t, 8t + 4, n/2 + 8t and
// n/2 + 8t + 4. The step after the last reads the list's 0 at entry n/4.
template <bool kInv>
void FirstPassFromList(const float* src, float* dst, int64_t n, const int32_t* list) {
  const int64_t eighth = n / 8, quarter = n / 4, half = n / 2;
  const int64_t offset[4] = {0, half, quarter, half + quarter};  // a0, a1, a2, a3
  int64_t p = 0;
  for (int64_t t = 0;; ++t) {
    // Lanes: butterflies with first point p, p + 1, p + n/8, p + n/8 + 1.
    Cx a[4];
    for (int m = 0; m < 4; ++m) {
      const float* lo = src + 2 * (p + offset[m]);
      const V l = _mm_loadu_ps(lo), h = _mm_loadu_ps(lo + 2 * eighth);
      a[m] = {_mm_shuffle_ps(l, h, _MM_SHUFFLE(2, 0, 2, 0)), _mm_shuffle_ps(l, h, _MM_SHUFFLE(3, 1, 3, 1))};
    }
    const Cx s01 = Add(a[0], a[1]), d01 = Sub(a[0], a[1]), s23 = Add(a[2], a[3]), d23 = Sub(a[2], a[3]);
    const Cx y0 = Add(s01, s23), y2 = Sub(s01, s23);
    const Cx y1 = AddJ<kInv>(d01, d23), y3 = SubJ<kInv>(d01, d23);
    V r0 = y0.re, r1 = y1.re, r2 = y2.re, r3 = y3.re;
    V i0 = y0.im, i1 = y1.im, i2 = y2.im, i3 = y3.im;
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
    Store(dst + 2 * (8 * t), {r0, i0});
    Store(dst + 2 * (half + 8 * t), {r1, i1});
    Store(dst + 2 * (8 * t + 4), {r2, i2});
    Store(dst + 2 * (half + 8 * t + 4), {r3, i3});
    const int32_t next = list[4 * (t + 1)];
    if (next == 0) break;
    p = next;
  }
}

// The passes after the first pass on the working array w, the final one
// writing out (pairs or blocks; aligned stores when out is 16-byte aligned).
template <bool kInv>
void LaterPasses(float* w, float* out, int64_t n, const float* twiddles, bool pairs, bool aligned) {
  int32_t order = 0;
  while ((int64_t{1} << order) < n) ++order;
  const float* run = twiddles;
  int32_t done = 2;
  int64_t s = 4;
  while (done < order) {
    const int32_t left = order - done;
    const bool second = done == 2;
    const bool eight = left == 3 || (left > 4 && !second) ||
                       (second && (order == 7 || order == 10 || order == 11 || order == 13 || order == 14));
    const int32_t bits = eight ? 3 : 2;
    if (done + bits == order) {
      if (eight) {
        Final<kInv, 8>(w, out, n, run, pairs, aligned);
      } else {
        Final<kInv, 4>(w, out, n, run, pairs, aligned);
      }
    } else if (eight) {
      MiddlePass<kInv, 8>(w, n, s, run);
    } else {
      MiddlePass<kInv, 4>(w, n, s, run);
    }
    run += 2 * (eight ? 7 : 3) * s;
    s <<= bits;
    done += bits;
  }
}

template <int kSign>
void InPlaceKernel(ComplexFloat32* data, uint64_t count, const float* twiddles, uint8_t* work, int32_t lastFlag) {
  constexpr bool kInv = kSign > 0;
  const int64_t n = static_cast<int64_t>(count);
  float* out = &data->re;
  const bool aligned = (reinterpret_cast<uintptr_t>(out) & 15) == 0;
  float* w = aligned ? out : reinterpret_cast<float*>(work);
  FirstPass<kInv>(out, w, n);
  LaterPasses<kInv>(w, out, n, twiddles, lastFlag == 1, aligned);
}

// The medium kernel: n = 2^6 ... 2^15 points from src in natural order to dst
// in natural order as pairs. The working array is dst when it is 16-byte
// aligned and distinct from src, else the work buffer (8n bytes, 16-byte
// aligned).
template <int kSign>
void MediumKernel(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t count, const float* twiddles,
                  const int32_t* list, uint8_t* work) {
  constexpr bool kInv = kSign > 0;
  const int64_t n = static_cast<int64_t>(count);
  float* out = &dst->re;
  const bool aligned = (reinterpret_cast<uintptr_t>(out) & 15) == 0;
  float* w = src != dst && aligned ? out : reinterpret_cast<float*>(work);
  FirstPassFromList<kInv>(&src->re, w, n, list);
  LaterPasses<kInv>(w, out, n, twiddles, true, aligned);
}

#undef LV_BF1_INLINE
