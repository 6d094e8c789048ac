// The small-order FFT kernels of orders 2 to 5 of classes 1, 2 and 3 (the
// 128-bit build), included by small_kernels_body.inl inside the class
// namespace. The three classes perform the same float operations in the same
// order and agree bit for bit; they differ from the portable kernels only in
// the grouping of a few operations.
//
// N = 4 M points (M = 1, 2, 4, 8): stage 1 runs 4-point butterflies over the
// residues r (x[r], x[r + M], x[r + 2M], x[r + 3M]) giving D_r[k]; each D_r[k]
// is turned by W_N^(r k); stage 2 runs M-point transforms across the residues,
// X[k + 4q] = sum_r T_r[k] W_M^(r q). kSign is -1 forward, +1 inverse; j =
// kSign * i. Every product and sum is rounded on its own (no fused
// multiply-add):
// - order 3 turns by W_8 and W_8^3 sum first ((re -+ im) * h), by W_8^2 by an
//   exchange of parts;
// - orders 4 and 5 turn every residue above 0, every frequency, by one general
//   product (re c - im s', im c + re s', s' = kSign sin), exact factors 1 and
//   +-i included, taken with the exact constants 0 and +-1;
// - order 5's odd outputs of stage 2 multiply b1 and b3 by h first.
// Scale of the normalising kernels: the outputs (orders 2, 3 and 5); at order 4
// the four values entering the last additions.
// Every source point is read before the first destination point is written,
// so src and dst may be the same array; float alignment is enough.

struct Cf {
  float re, im;
};

inline Cf Add(Cf a, Cf b) { return {a.re + b.re, a.im + b.im}; }
inline Cf Sub(Cf a, Cf b) { return {a.re - b.re, a.im - b.im}; }
inline Cf Scale(Cf a, float s) { return {a.re * s, a.im * s}; }
// a + j b and a - j b.
template <int kSign>
inline Cf AddJ(Cf a, Cf b) {
  if constexpr (kSign > 0) return {a.re - b.im, a.im + b.re};
  return {a.re + b.im, a.im - b.re};
}
template <int kSign>
inline Cf SubJ(Cf a, Cf b) {
  if constexpr (kSign > 0) return {a.re + b.im, a.im - b.re};
  return {a.re - b.im, a.im + b.re};
}
// j b.
template <int kSign>
inline Cf MulJ(Cf b) {
  if constexpr (kSign > 0) return {-b.im, b.re};
  return {b.im, -b.re};
}

// 4-point butterfly: a = u0 + u2, b = u0 - u2, c = u1 + u3, d = u1 - u3.
template <int kSign>
inline void Butterfly4(Cf u0, Cf u1, Cf u2, Cf u3, Cf* y) {
  const Cf a = Add(u0, u2), b = Sub(u0, u2), c = Add(u1, u3), d = Sub(u1, u3);
  y[0] = Add(a, c);
  y[2] = Sub(a, c);
  y[1] = AddJ<kSign>(b, d);
  y[3] = SubJ<kSign>(b, d);
}

// cos and sin of m pi/16, the floats nearest to them; exact zeros are +0.
inline void Turn16(int m, float* c, float* s) {
  constexpr float kCos[9] = {1.0f,       0.98078525f, 0.9238795f,  0.8314696f, 0.70710677f,
                             0.55557024f, 0.38268343f, 0.19509032f, 0.0f};
  m &= 31;
  const int q = m / 8, j = m % 8;
  const float cj = kCos[j], sj = kCos[8 - j];
  switch (q) {
    case 0: *c = cj; *s = sj; break;
    case 1: *c = sj == 0.0f ? 0.0f : -sj; *s = cj; break;
    case 2: *c = -cj; *s = sj == 0.0f ? 0.0f : -sj; break;
    default: *c = sj; *s = -cj; break;
  }
  if (*c == 0.0f) *c = 0.0f;
  if (*s == 0.0f) *s = 0.0f;
}

// z times W_N^e of the direction, one general product (N = 16 or 32).
template <int kSign>
inline Cf Turn(Cf z, int e, int n) {
  float c, s;
  Turn16(e * (32 / n), &c, &s);
  const float sd = kSign > 0 ? s : -s;
  return {z.re * c - z.im * sd, z.im * c + z.re * sd};
}

inline void Load(const ComplexFloat32* src, Cf* x, int n) {
#pragma GCC unroll 32
  for (int i = 0; i < n; ++i) x[i] = {src[i].re, src[i].im};
}
inline void Store(const Cf* y, ComplexFloat32* dst, int n) {
#pragma GCC unroll 32
  for (int i = 0; i < n; ++i) dst[i] = {y[i].re, y[i].im};
}

template <int kSign, bool kScaled>
void Order2(const ComplexFloat32* src, ComplexFloat32* dst, float s) {
  Cf x[4], y[4];
  Load(src, x, 4);
  Butterfly4<kSign>(x[0], x[1], x[2], x[3], y);
  if constexpr (kScaled) {
    for (Cf& v : y) v = Scale(v, s);
  }
  Store(y, dst, 4);
}

template <int kSign, bool kScaled>
void Order3(const ComplexFloat32* src, ComplexFloat32* dst, float s) {
  const float h = 0.70710677f;
  Cf x[8], d0[4], d1[4], y[8];
  Load(src, x, 8);
  Butterfly4<kSign>(x[0], x[2], x[4], x[6], d0);
  Butterfly4<kSign>(x[1], x[3], x[5], x[7], d1);
  Cf t[4];
  t[0] = d1[0];
  t[2] = MulJ<kSign>(d1[2]);
  if constexpr (kSign > 0) {
    t[1] = {(d1[1].re - d1[1].im) * h, (d1[1].re + d1[1].im) * h};
    t[3] = {(d1[3].re + d1[3].im) * -h, (d1[3].im - d1[3].re) * -h};
  } else {
    t[1] = {(d1[1].re + d1[1].im) * h, (d1[1].im - d1[1].re) * h};
    t[3] = {(d1[3].re - d1[3].im) * -h, (d1[3].re + d1[3].im) * -h};
  }
#pragma GCC unroll 4
  for (int k = 0; k < 4; ++k) {
    y[k] = Add(d0[k], t[k]);
    y[k + 4] = Sub(d0[k], t[k]);
  }
  if constexpr (kScaled) {
    for (Cf& v : y) v = Scale(v, s);
  }
  Store(y, dst, 8);
}

// Stage 1 and the turns of orders 4 and 5: t[r][k] = W_N^(r k) D_r[k].
template <int kSign, int M>
inline void Stage1(const Cf* x, Cf (*t)[4]) {
#pragma GCC unroll 8
  for (int r = 0; r < M; ++r) {
    Butterfly4<kSign>(x[r], x[r + M], x[r + 2 * M], x[r + 3 * M], t[r]);
    if (r == 0) continue;
#pragma GCC unroll 4
    for (int k = 0; k < 4; ++k) t[r][k] = Turn<kSign>(t[r][k], r * k, 4 * M);
  }
}

template <int kSign, bool kScaled>
void Order4(const ComplexFloat32* src, ComplexFloat32* dst, float s) {
  Cf x[16], t[4][4], y[16];
  Load(src, x, 16);
  Stage1<kSign, 4>(x, t);
#pragma GCC unroll 4
  for (int k = 0; k < 4; ++k) {
    Cf a = Add(t[0][k], t[2][k]), b = Sub(t[0][k], t[2][k]), c = Add(t[1][k], t[3][k]);
    Cf jd = MulJ<kSign>(Sub(t[1][k], t[3][k]));
    if constexpr (kScaled) {
      a = Scale(a, s);
      b = Scale(b, s);
      c = Scale(c, s);
      jd = Scale(jd, s);
    }
    y[k] = Add(a, c);
    y[k + 8] = Sub(a, c);
    y[k + 4] = Add(b, jd);
    y[k + 12] = Sub(b, jd);
  }
  Store(y, dst, 16);
}

template <int kSign, bool kScaled>
void Order5(const ComplexFloat32* src, ComplexFloat32* dst, float s) {
  const float h = 0.70710677f;
  Cf x[32], t[8][4], y[32];
  Load(src, x, 32);
  Stage1<kSign, 8>(x, t);
#pragma GCC unroll 4
  for (int k = 0; k < 4; ++k) {
    Cf a[4], b[4];
#pragma GCC unroll 4
    for (int r = 0; r < 4; ++r) {
      a[r] = Add(t[r][k], t[r + 4][k]);
      b[r] = Sub(t[r][k], t[r + 4][k]);
    }
    Cf e[4];
    Butterfly4<kSign>(a[0], a[1], a[2], a[3], e);
#pragma GCC unroll 4
    for (int p = 0; p < 4; ++p) y[k + 8 * p] = e[p];
    const Cf u = Scale(b[1], h), v = Scale(b[3], h);
    const Cf umv = Sub(u, v), upv = Add(u, v);
    const Cf p = Add(b[0], umv), q = Add(b[2], upv);
    const Cf r = Sub(b[0], umv), w = Sub(upv, b[2]);
    y[k + 4] = AddJ<kSign>(p, q);
    y[k + 28] = SubJ<kSign>(p, q);
    y[k + 12] = AddJ<kSign>(r, w);
    y[k + 20] = SubJ<kSign>(r, w);
  }
  if constexpr (kScaled) {
    for (Cf& v : y) v = Scale(v, s);
  }
  Store(y, dst, 32);
}
