// The 128-bit medium and in-place butterfly kernels of classes 2 and 3 (stage plan
// kFoursFirst128), included by butterfly_body.inl inside the class namespace
// (SSE and SSE2 instructions only). kSign is -1 for the forward kernel, +1 for the inverse.
//
// In-place kernel: the data is in bit-reversed order on entry; the medium
// kernel's first pass reads its source through the swap list instead and
// computes the same values. The first pass forms 4-point
// transforms and writes them as blocks of 4 points (4 real parts, then 4
// imaginary parts) into the working array: data itself when it is 16-byte
// aligned, the work buffer otherwise. The later passes follow the table's
// plan for r = log2(n) - 2 remaining levels: radix 8 throughout when r is a
// multiple of 3, one radix-4 pass first when r % 3 == 2, two when r % 3 == 1.
// A pass merging sub-transforms of length L reads its twiddles from float
// 2 (L - 4) of the table, one block of 8 (R - 1) floats per 4 values of k.
// The last pass reads the working array and writes data, as interleaved pairs
// when lastFlag is 1 and as blocks of 4 points otherwise. Every product is
// rounded before it is added; no fused multiply-add.

inline __m128 Bits(uint32_t v) { return _mm_castsi128_ps(_mm_set1_epi32(static_cast<int32_t>(v))); }

// a + i*b and a - i*b on split components.
struct Cv {
  __m128 re, im;
};

template <int kSign>
inline Cv MulTw(Cv x, const float* tw) {
  const __m128 wr = _mm_load_ps(tw);
  const __m128 wi = _mm_load_ps(tw + 4);
  if constexpr (kSign < 0) {
    return {_mm_sub_ps(_mm_mul_ps(x.re, wr), _mm_mul_ps(x.im, wi)),
            _mm_add_ps(_mm_mul_ps(x.im, wr), _mm_mul_ps(x.re, wi))};
  } else {
    return {_mm_add_ps(_mm_mul_ps(x.re, wr), _mm_mul_ps(x.im, wi)),
            _mm_sub_ps(_mm_mul_ps(x.im, wr), _mm_mul_ps(x.re, wi))};
  }
}

inline Cv Add(Cv a, Cv b) { return {_mm_add_ps(a.re, b.re), _mm_add_ps(a.im, b.im)}; }
inline Cv Sub(Cv a, Cv b) { return {_mm_sub_ps(a.re, b.re), _mm_sub_ps(a.im, b.im)}; }
// a + i*b.
inline Cv AddI(Cv a, Cv b) { return {_mm_sub_ps(a.re, b.im), _mm_add_ps(a.im, b.re)}; }
// a - i*b.
inline Cv SubI(Cv a, Cv b) { return {_mm_add_ps(a.re, b.im), _mm_sub_ps(a.im, b.re)}; }

// a + j*b and a - j*b with j = -i (forward) or +i (inverse).
template <int kSign>
inline Cv AddJ(Cv a, Cv b) {
  if constexpr (kSign < 0) {
    return SubI(a, b);
  } else {
    return AddI(a, b);
  }
}
template <int kSign>
inline Cv SubJ(Cv a, Cv b) {
  if constexpr (kSign < 0) {
    return AddI(a, b);
  } else {
    return SubI(a, b);
  }
}

inline Cv LoadBlock(const float* p) { return {_mm_load_ps(p), _mm_load_ps(p + 4)}; }

// Stores 4 points at float p of data: split (flag != 1) or interleaved.
inline void StoreOut(float* p, Cv v, bool pairs) {
  if (pairs) {
    _mm_storeu_ps(p, _mm_unpacklo_ps(v.re, v.im));
    _mm_storeu_ps(p + 4, _mm_unpackhi_ps(v.re, v.im));
  } else {
    _mm_storeu_ps(p, v.re);
    _mm_storeu_ps(p + 4, v.im);
  }
}

inline void StoreWork(float* p, Cv v) {
  _mm_store_ps(p, v.re);
  _mm_store_ps(p + 4, v.im);
}

// 4-point transforms of 4 consecutive groups (16 points) at a time: the 16
// points are read whole before the 4 blocks are written.
template <int kSign>
void FirstPass(const float* src, float* dst, int64_t n) {
  for (int64_t p = 0; p < n; p += 16) {
    const float* s = src + 2 * p;
    _mm_prefetch(reinterpret_cast<const char*>(s) + 256, _MM_HINT_T0);
    _mm_prefetch(reinterpret_cast<const char*>(s) + 320, _MM_HINT_T0);
    // Lane g of each vector belongs to group g.
    __m128 x0r = _mm_loadu_ps(s), x0i = _mm_loadu_ps(s + 8), x1r = _mm_loadu_ps(s + 16), x1i = _mm_loadu_ps(s + 24);
    __m128 x2r = _mm_loadu_ps(s + 4), x2i = _mm_loadu_ps(s + 12), x3r = _mm_loadu_ps(s + 20),
           x3i = _mm_loadu_ps(s + 28);
    _MM_TRANSPOSE4_PS(x0r, x0i, x1r, x1i);
    _MM_TRANSPOSE4_PS(x2r, x2i, x3r, x3i);
    const Cv x0{x0r, x0i}, x1{x1r, x1i}, x2{x2r, x2i}, x3{x3r, x3i};
    const Cv s01 = Add(x0, x1), d01 = Sub(x0, x1), s23 = Add(x2, x3), d23 = Sub(x2, x3);
    const Cv y0 = Add(s01, s23), y2 = Sub(s01, s23);
    const Cv y1 = AddJ<kSign>(d01, d23), y3 = SubJ<kSign>(d01, d23);
    __m128 r0 = y0.re, r1 = y1.re, r2 = y2.re, r3 = y3.re;
    __m128 i0 = y0.im, i1 = y1.im, i2 = y2.im, i3 = y3.im;
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
    float* d = dst + 2 * p;
    _mm_store_ps(d, r0);
    _mm_store_ps(d + 4, i0);
    _mm_store_ps(d + 8, r1);
    _mm_store_ps(d + 12, i1);
    _mm_store_ps(d + 16, r2);
    _mm_store_ps(d + 20, i2);
    _mm_store_ps(d + 24, r3);
    _mm_store_ps(d + 28, i3);
  }
}

// Radix-4 pass merging sub-transforms of length l (points). Reads src, writes
// dst (the same array, or data for the final pass).
template <int kSign>
void Radix4Pass(const float* src, float* dst, int64_t n, int64_t l, const float* run, bool final, bool pairs) {
  const int64_t m = 4 * l;
  for (int64_t g = 0; g < n; g += m) {
    for (int64_t k = 0; k < l; k += 4) {
      const float* tw = run + 6 * k;
      const int64_t pa = 2 * (g + k), pb = pa + 2 * l, pc = pb + 2 * l, pd = pc + 2 * l;
      const Cv a0 = LoadBlock(src + pa);
      const Cv tC = MulTw<kSign>(LoadBlock(src + pc), tw);
      const Cv tB = MulTw<kSign>(LoadBlock(src + pb), tw + 8);
      const Cv tD = MulTw<kSign>(LoadBlock(src + pd), tw + 16);
      const Cv s = Add(tC, tD), d = Sub(tC, tD), a = Add(a0, tB), b = Sub(a0, tB);
      const Cv oA = Add(a, s), oB = AddJ<kSign>(b, d), oC = Sub(a, s), oD = SubJ<kSign>(b, d);
      if (final) {
        StoreOut(dst + pa, oA, pairs);
        StoreOut(dst + pb, oB, pairs);
        StoreOut(dst + pc, oC, pairs);
        StoreOut(dst + pd, oD, pairs);
      } else {
        StoreWork(dst + pa, oA);
        StoreWork(dst + pb, oB);
        StoreWork(dst + pc, oC);
        StoreWork(dst + pd, oD);
      }
    }
  }
}

template <int kSign>
void Radix8Pass(const float* src, float* dst, int64_t n, int64_t l, const float* run, bool final, bool pairs) {
  const int64_t m = 8 * l;
  const __m128 c = Bits(0x3F3504F4u);
  const __m128 nc = Bits(0xBF3504F4u);
  for (int64_t g = 0; g < n; g += m) {
    for (int64_t k = 0; k < l; k += 4) {
      const float* tw = run + 14 * k;
      int64_t pos[8];
      for (int q = 0; q < 8; ++q) pos[q] = 2 * (g + q * l + k);
      const Cv t0 = LoadBlock(src + pos[0]);
      const Cv t1 = MulTw<kSign>(LoadBlock(src + pos[4]), tw);
      const Cv t2 = MulTw<kSign>(LoadBlock(src + pos[2]), tw + 8);
      const Cv t3 = MulTw<kSign>(LoadBlock(src + pos[6]), tw + 16);
      const Cv t4 = MulTw<kSign>(LoadBlock(src + pos[1]), tw + 24);
      const Cv t5 = MulTw<kSign>(LoadBlock(src + pos[5]), tw + 32);
      const Cv t6 = MulTw<kSign>(LoadBlock(src + pos[3]), tw + 40);
      const Cv t7 = MulTw<kSign>(LoadBlock(src + pos[7]), tw + 48);
      const Cv a = Add(t0, t4), b = Sub(t0, t4);
      const Cv s26 = Add(t2, t6), d26 = Sub(t2, t6);
      const Cv s15 = Add(t1, t5), d15 = Sub(t1, t5);
      const Cv s37 = Add(t3, t7), d37 = Sub(t3, t7);
      const Cv e0 = Add(a, s26), e2 = Sub(a, s26);
      const Cv g0 = Add(s15, s37), g2 = Sub(s15, s37);
      Cv u, v, h1, h3, o2, o6;
      if constexpr (kSign < 0) {
        const __m128 p = _mm_mul_ps(c, _mm_add_ps(d15.re, d37.im));
        const __m128 q = _mm_mul_ps(c, _mm_sub_ps(d15.im, d37.re));
        u = {_mm_add_ps(p, q), _mm_sub_ps(q, p)};
        const __m128 p2 = _mm_mul_ps(nc, _mm_sub_ps(d15.re, d37.im));
        const __m128 q2 = _mm_mul_ps(nc, _mm_add_ps(d15.im, d37.re));
        v = {_mm_sub_ps(p2, q2), _mm_add_ps(q2, p2)};
        h1 = SubI(b, d26);
        h3 = AddI(b, d26);
        o2 = SubI(e2, g2);
        o6 = AddI(e2, g2);
      } else {
        const __m128 p = _mm_mul_ps(c, _mm_sub_ps(d15.re, d37.im));
        const __m128 q = _mm_mul_ps(c, _mm_add_ps(d15.im, d37.re));
        u = {_mm_sub_ps(p, q), _mm_add_ps(q, p)};
        const __m128 p2 = _mm_mul_ps(nc, _mm_add_ps(d15.re, d37.im));
        const __m128 q2 = _mm_mul_ps(nc, _mm_sub_ps(d15.im, d37.re));
        v = {_mm_add_ps(p2, q2), _mm_sub_ps(q2, p2)};
        h1 = AddI(b, d26);
        h3 = SubI(b, d26);
        o2 = AddI(e2, g2);
        o6 = SubI(e2, g2);
      }
      const Cv out[8] = {Add(e0, g0), Add(h1, u), o2, Add(h3, v), Sub(e0, g0), Sub(h1, u), o6, Sub(h3, v)};
      if (final) {
        for (int q = 0; q < 8; ++q) StoreOut(dst + pos[q], out[q], pairs);
      } else {
        for (int q = 0; q < 8; ++q) StoreWork(dst + pos[q], out[q]);
      }
    }
  }
}

// The first pass of the medium kernel, bit reversal fused: the same 4-point
// transforms as FirstPass, on the points the swap list names. Step j takes p =
// rev(8j) (entry 4j of the list, 0 for j = 0) and the butterflies whose first
// points are p, p + 1, p + n/8 and p + n/8 + 1; they fill the blocks at points
// 8j, n/2 + 8j, 8j + 4 and n/2 + 8j + 4. The step after the last reads the
// list's terminating 0 at entry n/4.
template <int kSign>
void FirstPassFromList(const float* src, float* dst, int64_t n, const int32_t* list) {
  const int64_t eighth = n / 8, quarter = n / 4, half = n / 2;
  const int64_t offset[4] = {0, half, quarter, half + quarter};  // a0, a1, a2, a3
  int64_t p = 0;
  for (int64_t j = 0;; ++j) {
    // Lanes: butterflies with first point p, p + 1, p + n/8, p + n/8 + 1.
    Cv a[4];
    for (int m = 0; m < 4; ++m) {
      const float* lo = src + 2 * (p + offset[m]);
      const float* hi = lo + 2 * eighth;
      const __m128 l = _mm_loadu_ps(lo), h = _mm_loadu_ps(hi);  // (re, im, re, im) of two points each
      a[m] = {_mm_shuffle_ps(l, h, _MM_SHUFFLE(2, 0, 2, 0)), _mm_shuffle_ps(l, h, _MM_SHUFFLE(3, 1, 3, 1))};
    }
    const Cv s01 = Add(a[0], a[1]), d01 = Sub(a[0], a[1]), s23 = Add(a[2], a[3]), d23 = Sub(a[2], a[3]);
    const Cv y0 = Add(s01, s23), y2 = Sub(s01, s23);
    const Cv y1 = AddJ<kSign>(d01, d23), y3 = SubJ<kSign>(d01, d23);
    __m128 r0 = y0.re, r1 = y1.re, r2 = y2.re, r3 = y3.re;
    __m128 i0 = y0.im, i1 = y1.im, i2 = y2.im, i3 = y3.im;
    _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
    _MM_TRANSPOSE4_PS(i0, i1, i2, i3);
    StoreWork(dst + 2 * (8 * j), {r0, i0});
    StoreWork(dst + 2 * (half + 8 * j), {r1, i1});
    StoreWork(dst + 2 * (8 * j + 4), {r2, i2});
    StoreWork(dst + 2 * (half + 8 * j + 4), {r3, i3});
    const int32_t next = list[4 * (j + 1)];
    if (next == 0) break;
    p = next;
  }
}

// The passes after the first pass, on the working array w, the last one
// writing out: for r = log2(n) - 2 remaining levels, radix 4 while r is no
// multiple of 3, then radix 8.
template <int kSign>
void LaterPasses(float* w, float* out, int64_t n, const float* twiddles, bool pairs) {
  const int r = 61 - __builtin_clzll(static_cast<uint64_t>(n));  // log2(n) - 2
  int radix4 = r % 3 == 0 ? 0 : (r % 3 == 2 ? 1 : 2);
  for (int64_t l = 4; l < n;) {
    const float* run = twiddles + 2 * (l - 4);
    if (radix4 > 0) {
      --radix4;
      const bool final = 4 * l == n;
      Radix4Pass<kSign>(w, final ? out : w, n, l, run, final, pairs);
      l *= 4;
    } else {
      const bool final = 8 * l == n;
      Radix8Pass<kSign>(w, final ? out : w, n, l, run, final, pairs);
      l *= 8;
    }
  }
}

template <int kSign>
void InPlaceKernel(ComplexFloat32* data, uint64_t count, const float* twiddles, uint8_t* work, int32_t lastFlag) {
  const auto n = static_cast<int64_t>(count);
  float* d = &data->re;
  const bool aligned = (reinterpret_cast<uintptr_t>(d) & 15) == 0;
  float* w = aligned ? d : reinterpret_cast<float*>(work);
  FirstPass<kSign>(d, w, n);
  LaterPasses<kSign>(w, d, n, twiddles, lastFlag == 1);
}

// The medium kernel: n = 2^6 ... 2^17 points from src in natural order to dst
// in natural order as pairs. The working array is dst when it is 16-byte
// aligned and distinct from src, else the work buffer (8n bytes, 16-byte
// aligned).
template <int kSign>
void MediumKernel(const ComplexFloat32* src, ComplexFloat32* dst, uint64_t count, const float* twiddles,
                  const int32_t* list, uint8_t* work) {
  const auto n = static_cast<int64_t>(count);
  float* d = &dst->re;
  const bool direct = src != dst && (reinterpret_cast<uintptr_t>(d) & 15) == 0;
  float* w = direct ? d : reinterpret_cast<float*>(work);
  FirstPassFromList<kSign>(&src->re, w, n, list);
  LaterPasses<kSign>(w, d, n, twiddles, true);
}
