// 512-bit helpers of the many-core transforms (included inside the class
// namespace by mixed_radix_body.inl and small_body.inl). kSign is -1 for the
// forward direction (rotations by -i, twiddles e^(-i theta)) and +1 for the
// inverse one (rotations by +i, conjugated twiddles). AVX-512F only.

// The constants of the 16-point DFT, as fixed float32 bit patterns.
constexpr float kH = 0x1.6a09e6p-1f;      // sqrt(1/2), 0x3F3504F3
constexpr float kCos8 = 0x1.d906bcp-1f;   // cos(pi/8), 0x3F6C835E
constexpr float kSin8 = 0x1.87de2ap-2f;   // sin(pi/8), 0x3EC3EF15
static_assert(__builtin_bit_cast(uint32_t, kH) == 0x3F3504F3u);
static_assert(__builtin_bit_cast(uint32_t, kCos8) == 0x3F6C835Eu);
static_assert(__builtin_bit_cast(uint32_t, kSin8) == 0x3EC3EF15u);

// ---- interleaved registers: 8 complex points, (re, im) in float lanes 2l, 2l+1 ----

// Real and imaginary part of every point exchanged.
inline __m512 Swap(__m512 z) { return _mm512_permute_ps(z, 0xB1); }

// The sign pattern (+1, -1) per point for the forward direction, (-1, +1) for
// the inverse one: Swap(z) times it is z rotated by -i (forward) or +i.
template <int kSign>
inline __m512 RotationSigns() {
  return kSign < 0 ? _mm512_setr4_ps(1.0f, -1.0f, 1.0f, -1.0f) : _mm512_setr4_ps(-1.0f, 1.0f, -1.0f, 1.0f);
}

// z rotated by -i (forward) or +i (inverse), exactly.
template <int kSign>
inline __m512 RotI(__m512 z) {
  return _mm512_mul_ps(Swap(z), RotationSigns<kSign>());
}

// z times e^(-i theta) (forward) or e^(+i theta) (inverse), c = cos(theta),
// s = sin(theta): z*c rounded, then the exchanged product added fused:
// forward (re*c + im*s, im*c - re*s).
template <int kSign>
inline __m512 TwiddleConst(__m512 z, float c, float s) {
  const __m512 sv = kSign < 0 ? _mm512_setr4_ps(s, -s, s, -s) : _mm512_setr4_ps(-s, s, -s, s);
  return _mm512_fmadd_ps(Swap(z), sv, _mm512_mul_ps(z, _mm512_set1_ps(c)));
}

// The same with a cosine vector (c, c per point) and a sine vector (s, -s per
// point, forward values) that vary by point.
template <int kSign>
inline __m512 TwiddleLanes(__m512 z, __m512 cv, __m512 sv) {
  if constexpr (kSign > 0) sv = _mm512_mul_ps(sv, _mm512_set1_ps(-1.0f));
  return _mm512_fmadd_ps(Swap(z), sv, _mm512_mul_ps(z, cv));
}

// The first radix-2 level u + v, u - v. Scaled (the normalising small
// kernels): v is multiplied by the scale first, and s u + (s v), s u - (s v)
// are each one fused multiply-add.
template <bool kScaled>
inline void FirstLevel(__m512 u, __m512 v, __m512 scale, __m512* sum, __m512* dif) {
  if constexpr (kScaled) {
    const __m512 sv = _mm512_mul_ps(v, scale);
    *sum = _mm512_fmadd_ps(scale, u, sv);
    *dif = _mm512_fmsub_ps(scale, u, sv);
  } else {
    *sum = _mm512_add_ps(u, v);
    *dif = _mm512_sub_ps(u, v);
  }
}

// 8-point DFT of a[0..7] (lane-parallel), by decimation in frequency, into
// out[0..7] in natural order (kScaled: of scale times a).
template <int kSign, bool kScaled = false>
inline void Dft8(const __m512* a, __m512* out, __m512 scale = _mm512_setzero_ps()) {
  __m512 b[4], c[4];
  for (int j = 0; j < 4; ++j) FirstLevel<kScaled>(a[j], a[j + 4], scale, &b[j], &c[j]);
  c[1] = TwiddleConst<kSign>(c[1], kH, kH);
  c[2] = RotI<kSign>(c[2]);
  c[3] = TwiddleConst<kSign>(c[3], -kH, kH);
  const __m512 e0 = _mm512_add_ps(b[0], b[2]), e1 = _mm512_add_ps(b[1], b[3]);
  const __m512 f0 = _mm512_sub_ps(b[0], b[2]), f1 = RotI<kSign>(_mm512_sub_ps(b[1], b[3]));
  out[0] = _mm512_add_ps(e0, e1);
  out[4] = _mm512_sub_ps(e0, e1);
  out[2] = _mm512_add_ps(f0, f1);
  out[6] = _mm512_sub_ps(f0, f1);
  const __m512 g0 = _mm512_add_ps(c[0], c[2]), g1 = _mm512_add_ps(c[1], c[3]);
  const __m512 k0 = _mm512_sub_ps(c[0], c[2]), k1 = RotI<kSign>(_mm512_sub_ps(c[1], c[3]));
  out[1] = _mm512_add_ps(g0, g1);
  out[5] = _mm512_sub_ps(g0, g1);
  out[3] = _mm512_add_ps(k0, k1);
  out[7] = _mm512_sub_ps(k0, k1);
}

// 16-point DFT of x[0..15] (lane-parallel) into out[0..15], natural order:
// a_j = x_j + x_(j+8), d_j = (x_j - x_(j+8)) W16^j, then the 8-point DFTs of a
// (even outputs) and d (odd outputs) (kScaled: of scale times x).
template <int kSign, bool kScaled = false>
inline void Dft16(const __m512* x, __m512* out, __m512 scale = _mm512_setzero_ps()) {
  __m512 a[8], d[8], e[8], o[8];
  for (int j = 0; j < 8; ++j) FirstLevel<kScaled>(x[j], x[j + 8], scale, &a[j], &d[j]);
  d[1] = TwiddleConst<kSign>(d[1], kCos8, kSin8);
  d[2] = TwiddleConst<kSign>(d[2], kH, kH);
  d[3] = TwiddleConst<kSign>(d[3], kSin8, kCos8);
  d[4] = RotI<kSign>(d[4]);
  d[5] = TwiddleConst<kSign>(d[5], -kSin8, kCos8);
  d[6] = TwiddleConst<kSign>(d[6], -kH, kH);
  d[7] = TwiddleConst<kSign>(d[7], -kCos8, kSin8);
  Dft8<kSign>(a, e);
  Dft8<kSign>(d, o);
  for (int m = 0; m < 8; ++m) {
    out[2 * m] = e[m];
    out[2 * m + 1] = o[m];
  }
}

// Transposes 8 x 8 complex points: afterwards r[n] holds point n of every input
// register, in register order.
inline void Transpose8x8(__m512* r) {
  __m512d t[8], u[8];
  for (int k = 0; k < 8; k += 2) {
    t[k] = _mm512_unpacklo_pd(_mm512_castps_pd(r[k]), _mm512_castps_pd(r[k + 1]));
    t[k + 1] = _mm512_unpackhi_pd(_mm512_castps_pd(r[k]), _mm512_castps_pd(r[k + 1]));
  }
  // t[2q]: points 0,2,4,6 of registers 2q, 2q+1 interleaved; t[2q+1]: points 1,3,5,7.
  for (int p = 0; p < 2; ++p) {
    for (int q = 0; q < 2; ++q) {
      // registers 4q .. 4q+3, point parity p
      u[4 * q + p] = _mm512_shuffle_f64x2(t[4 * q + p], t[4 * q + 2 + p], 0x88);      // points p, 4+p
      u[4 * q + 2 + p] = _mm512_shuffle_f64x2(t[4 * q + p], t[4 * q + 2 + p], 0xDD);  // points 2+p, 6+p
    }
  }
  for (int j = 0; j < 4; ++j) {
    // u[j] (registers 0-3) and u[4 + j] (registers 4-7) hold points n and n + 4, n = (j & 1) + (j & 2)
    const int n = (j & 1) + (j & 2);
    r[n] = _mm512_castpd_ps(_mm512_shuffle_f64x2(u[j], u[4 + j], 0x88));
    r[n + 4] = _mm512_castpd_ps(_mm512_shuffle_f64x2(u[j], u[4 + j], 0xDD));
  }
}

// Transposes 16 x 16 floats: afterwards r[f] holds float f of every input
// register, in register order.
inline void Transpose16x16(__m512* r) {
  __m512 t[16];
  for (int k = 0; k < 16; k += 2) {
    t[k] = _mm512_unpacklo_ps(r[k], r[k + 1]);
    t[k + 1] = _mm512_unpackhi_ps(r[k], r[k + 1]);
  }
  // t[2q]: floats 0,1 | 4,5 | ... of r[2q], r[2q+1] interleaved per 128-bit quarter; t[2q+1]: floats 2,3 | 6,7 ...
  for (int k = 0; k < 16; k += 4) {
    r[k] = _mm512_castpd_ps(_mm512_unpacklo_pd(_mm512_castps_pd(t[k]), _mm512_castps_pd(t[k + 2])));
    r[k + 1] = _mm512_castpd_ps(_mm512_unpackhi_pd(_mm512_castps_pd(t[k]), _mm512_castps_pd(t[k + 2])));
    r[k + 2] = _mm512_castpd_ps(_mm512_unpacklo_pd(_mm512_castps_pd(t[k + 1]), _mm512_castps_pd(t[k + 3])));
    r[k + 3] = _mm512_castpd_ps(_mm512_unpackhi_pd(_mm512_castps_pd(t[k + 1]), _mm512_castps_pd(t[k + 3])));
  }
  // r[4g + f4]: float f4 (+4 per quarter) of registers 4g .. 4g+3, quarter by quarter.
  for (int f = 0; f < 4; ++f) {
    t[f] = _mm512_shuffle_f32x4(r[f], r[4 + f], 0x88);
    t[4 + f] = _mm512_shuffle_f32x4(r[f], r[4 + f], 0xDD);
    t[8 + f] = _mm512_shuffle_f32x4(r[8 + f], r[12 + f], 0x88);
    t[12 + f] = _mm512_shuffle_f32x4(r[8 + f], r[12 + f], 0xDD);
  }
  for (int f = 0; f < 4; ++f) {
    r[f] = _mm512_shuffle_f32x4(t[f], t[8 + f], 0x88);
    r[8 + f] = _mm512_shuffle_f32x4(t[f], t[8 + f], 0xDD);
    r[4 + f] = _mm512_shuffle_f32x4(t[4 + f], t[12 + f], 0x88);
    r[12 + f] = _mm512_shuffle_f32x4(t[4 + f], t[12 + f], 0xDD);
  }
}
