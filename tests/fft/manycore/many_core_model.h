// Scalar models of the many-core class's transforms (fft/manycore/): every
// stage and kernel in plain float operations and std::fma, in the order the
// vector code computes them, so that each can be compared bit for bit.
// kSign -1 forward, +1 inverse.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "primitives/vector_types.h"

namespace many_core_model {

using C = ComplexFloat32;

constexpr float kH = 0x1.6a09e6p-1f;
constexpr float kCos8 = 0x1.d906bcp-1f;
constexpr float kSin8 = 0x1.87de2ap-2f;

inline C Add(C a, C b) { return {a.re + b.re, a.im + b.im}; }
inline C Sub(C a, C b) { return {a.re - b.re, a.im - b.im}; }
// z rotated by -i (forward) or +i (inverse).
template <int kSign>
C Rot(C z) {
  return kSign < 0 ? C{z.im, -z.re} : C{-z.im, z.re};
}
// z e^(-i theta) forward, e^(+i theta) inverse; c = cos, s = sin: z*c rounded,
// the exchanged product fused into it.
template <int kSign>
C TwiddleConst(C z, float c, float s) {
  const float sr = kSign < 0 ? s : -s;
  return {std::fma(z.im, sr, z.re * c), std::fma(z.re, -sr, z.im * c)};
}
// z times the stored pair (u, v) (forward) or its conjugate (inverse).
template <int kSign>
C TwiddlePair(C z, float u, float v) {
  if (kSign < 0) return {std::fma(-z.im, v, z.re * u), std::fma(z.re, v, z.im * u)};
  return {std::fma(z.im, v, z.re * u), std::fma(-z.re, v, z.im * u)};
}

// u + v and u - v; with a scale s: s u + (s v) and s u - (s v), each fused.
inline void FirstLevel(C u, C v, const float* scale, C* sum, C* dif) {
  if (scale == nullptr) {
    *sum = Add(u, v);
    *dif = Sub(u, v);
    return;
  }
  const float s = *scale;
  const C sv{s * v.re, s * v.im};
  *sum = {std::fma(s, u.re, sv.re), std::fma(s, u.im, sv.im)};
  *dif = {std::fma(s, u.re, -sv.re), std::fma(s, u.im, -sv.im)};
}

template <int kSign>
void Dft8(const C* a, C* out, const float* scale = nullptr) {
  C b[4], c[4];
  for (int j = 0; j < 4; ++j) FirstLevel(a[j], a[j + 4], scale, &b[j], &c[j]);
  c[1] = TwiddleConst<kSign>(c[1], kH, kH);
  c[2] = Rot<kSign>(c[2]);
  c[3] = TwiddleConst<kSign>(c[3], -kH, kH);
  const C e0 = Add(b[0], b[2]), e1 = Add(b[1], b[3]), f0 = Sub(b[0], b[2]), f1 = Rot<kSign>(Sub(b[1], b[3]));
  out[0] = Add(e0, e1);
  out[4] = Sub(e0, e1);
  out[2] = Add(f0, f1);
  out[6] = Sub(f0, f1);
  const C g0 = Add(c[0], c[2]), g1 = Add(c[1], c[3]), k0 = Sub(c[0], c[2]), k1 = Rot<kSign>(Sub(c[1], c[3]));
  out[1] = Add(g0, g1);
  out[5] = Sub(g0, g1);
  out[3] = Add(k0, k1);
  out[7] = Sub(k0, k1);
}

template <int kSign>
void Dft16(const C* x, C* out, const float* scale = nullptr) {
  C a[8], d[8], e[8], o[8];
  for (int j = 0; j < 8; ++j) FirstLevel(x[j], x[j + 8], scale, &a[j], &d[j]);
  d[1] = TwiddleConst<kSign>(d[1], kCos8, kSin8);
  d[2] = TwiddleConst<kSign>(d[2], kH, kH);
  d[3] = TwiddleConst<kSign>(d[3], kSin8, kCos8);
  d[4] = Rot<kSign>(d[4]);
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

inline int64_t Rev(int64_t v, int bits) {
  int64_t r = 0;
  for (int b = 0; b < bits; ++b) r |= ((v >> b) & 1) << (bits - 1 - b);
  return r;
}

// The 16-point block layout: element e's real part at float 32 (e/16) + e%16.
inline C Get(const float* w, int64_t e) { return {w[32 * (e / 16) + e % 16], w[32 * (e / 16) + e % 16 + 16]}; }
inline void Put(float* w, int64_t e, C z) {
  w[32 * (e / 16) + e % 16] = z.re;
  w[32 * (e / 16) + e % 16 + 16] = z.im;
}

// State after the first stage: block q holds the 16-point DFT of
// x[rev_(order-4)(q) + j N/16], j = 0..15.
template <int kSign>
std::vector<float> FirstStage(const std::vector<C>& x, int order) {
  const int64_t n = int64_t{1} << order;
  std::vector<float> w(2 * n);
  for (int64_t q = 0; q < n / 16; ++q) {
    const int64_t i0 = Rev(q, order - 4);
    C in[16], out[16];
    for (int j = 0; j < 16; ++j) in[j] = x[i0 + j * (n / 16)];
    Dft16<kSign>(in, out);
    for (int k = 0; k < 16; ++k) Put(w.data(), 16 * q + k, out[k]);
  }
  return w;
}

// Twiddled rows b (row order) into outputs y (output order) of radix R.
template <int kSign>
void Butterfly(int radix, const C* b, C* y) {
  if (radix == 4) {
    const C p = Add(b[0], b[1]), q = Sub(b[0], b[1]), s = Add(b[2], b[3]), d = Sub(b[2], b[3]);
    y[0] = Add(p, s);
    y[2] = Sub(p, s);
    y[1] = Add(q, Rot<kSign>(d));
    y[3] = Sub(q, Rot<kSign>(d));
    return;
  }
  const C a = Add(b[0], b[1]), a1 = Sub(b[0], b[1]), bb = Add(b[2], b[3]), b1 = Sub(b[2], b[3]);
  const C c = Add(b[4], b[5]), c1 = Sub(b[4], b[5]), d = Add(b[6], b[7]), d1 = Sub(b[6], b[7]);
  const C e0 = Add(a, bb), e2 = Sub(a, bb), e1 = Add(a1, Rot<kSign>(b1)), e3 = Sub(a1, Rot<kSign>(b1));
  const C f0 = Add(c, d), f2 = Sub(c, d), f1 = Add(c1, Rot<kSign>(d1)), f3 = Sub(c1, Rot<kSign>(d1));
  y[0] = Add(e0, f0);
  y[4] = Sub(e0, f0);
  y[2] = Add(e2, Rot<kSign>(f2));
  y[6] = Sub(e2, Rot<kSign>(f2));
  // G = h (F1.re + F1.im, F1.im - F1.re) forward, h (F1.re - F1.im, F1.im + F1.re) inverse;
  // H = h (F3.re - F3.im, F3.re + F3.im) forward, h (F3.re + F3.im, F3.im - F3.re) inverse.
  const float gr = kSign < 0 ? f1.re + f1.im : f1.re - f1.im, gi = kSign < 0 ? f1.im - f1.re : f1.im + f1.re;
  const float hr = kSign < 0 ? f3.re - f3.im : f3.re + f3.im, hi = kSign < 0 ? f3.re + f3.im : f3.im - f3.re;
  y[1] = {std::fma(kH, gr, e1.re), std::fma(kH, gi, e1.im)};
  y[5] = {std::fma(-kH, gr, e1.re), std::fma(-kH, gi, e1.im)};
  y[3] = {std::fma(-kH, hr, e3.re), std::fma(-kH, hi, e3.im)};
  y[7] = {std::fma(kH, hr, e3.re), std::fma(kH, hi, e3.im)};
}

// Twiddle pair p of column j of a block of radix R.
inline void Pair(const float* t, int radix, int64_t j, int p, float* u, float* v) {
  const float* sub = t + 32 * (radix - 1) * (j / 16) + 32 * p;
  *u = sub[j % 16];
  *v = sub[16 + j % 16];
}

// Row r of each group holds sub-transform rev(r); it takes pair rev(r) - 1.
inline int RowIndex(int radix, int r) { return static_cast<int>(Rev(r, radix == 8 ? 3 : 2)); }

// A pass of radix R at stride s over m groups, in place.
template <int kSign>
void Pass(std::vector<float>& w, const float* t, int radix, int64_t s, int64_t m) {
  for (int64_t g = 0; g < m; ++g) {
    for (int64_t j = 0; j < s; ++j) {
      C b[8], y[8];
      for (int r = 0; r < radix; ++r) {
        b[r] = Get(w.data(), g * radix * s + r * s + j);
        if (r != 0) {
          float u, v;
          Pair(t, radix, j, RowIndex(radix, r) - 1, &u, &v);
          b[r] = TwiddlePair<kSign>(b[r], u, v);
        }
      }
      Butterfly<kSign>(radix, b, y);
      for (int k = 0; k < radix; ++k) Put(w.data(), g * radix * s + k * s + j, y[k]);
    }
  }
}

// The last stage of radix R at stride s into natural interleaved order.
template <int kSign>
std::vector<C> LastStage(const std::vector<float>& w, const float* t, int radix, int64_t s) {
  std::vector<C> out(radix * s);
  for (int64_t j = 0; j < s; ++j) {
    C b[8], y[8];
    for (int r = 0; r < radix; ++r) {
      b[r] = Get(w.data(), r * s + j);
      if (r != 0) {
        float u, v;
        Pair(t, radix, j, RowIndex(radix, r) - 1, &u, &v);
        b[r] = TwiddlePair<kSign>(b[r], u, v);
      }
    }
    Butterfly<kSign>(radix, b, y);
    for (int k = 0; k < radix; ++k) out[j + k * s] = y[k];
  }
  return out;
}

// The whole mixed-radix transform (orders 8 to 16), unscaled.
template <int kSign>
std::vector<C> MixedRadix(const std::vector<C>& x, int order, const float* twiddles) {
  const int64_t n = int64_t{1} << order;
  std::vector<float> w = FirstStage<kSign>(x, order);
  int64_t m = n / 16, s = 16;
  const float* t = twiddles + 32;
  while (m > 16) {
    m /= 8;
    Pass<kSign>(w, t, 8, s, m);
    t += 14 * s;
    s *= 8;
  }
  if (m > 8) {
    m = 4;
    Pass<kSign>(w, t, 4, s, 4);
    t += 6 * s;
    s *= 4;
  }
  return LastStage<kSign>(w, t, static_cast<int>(m), s);
}

// cos and sin of 2 pi m / 128 rounded to float (exact zeros on the axes).
inline void W128(int m, float* c, float* s) {
  m %= 128;
  const double a = 2.0 * M_PI * m / 128.0;
  *c = m % 64 == 32 ? 0.0f : static_cast<float>(std::cos(a));
  *s = m % 64 == 0 ? 0.0f : static_cast<float>(std::sin(a));
}

// The small-order kernels, orders 0 to 7; scale null: the plain kernel.
template <int kSign>
std::vector<C> Small(const std::vector<C>& src, int order, const float* scale) {
  const int64_t n = int64_t{1} << order;
  std::vector<C> x(src);
  std::vector<C> out(n);
  if (order == 0) return {scale ? C{*scale * x[0].re, *scale * x[0].im} : x[0]};
  if (order == 1) {
    const C sum = Add(x[0], x[1]), dif = Sub(x[0], x[1]);
    if (!scale) return {sum, dif};
    return {C{*scale * sum.re, *scale * sum.im}, C{*scale * dif.re, *scale * dif.im}};
  }
  // Orders 2 and 3 scale the input first; orders 4 to 7 inside the first radix-2 level.
  if (scale && order <= 3) {
    for (C& v : x) v = {*scale * v.re, *scale * v.im};
  }
  const float* firstLevelScale = order >= 4 ? scale : nullptr;
  if (order == 2) {
    const C p = Add(x[0], x[2]), q = Sub(x[0], x[2]), a = Add(x[1], x[3]), d = Rot<kSign>(Sub(x[1], x[3]));
    return {Add(p, a), Add(q, d), Sub(p, a), Sub(q, d)};
  }
  const int qn = static_cast<int>(n / 8), step = 128 >> order;
  // column DFTs: col[k][lane]
  std::vector<std::vector<C>> col(qn, std::vector<C>(8));
  for (int lane = 0; lane < 8; ++lane) {
    C in[16] = {}, res[16] = {};
    for (int q = 0; q < qn; ++q) in[q] = x[lane + 8 * q];
    if (qn == 1) {
      res[0] = in[0];
    } else if (qn == 2) {
      FirstLevel(in[0], in[1], firstLevelScale, &res[0], &res[1]);
    } else if (qn == 4) {
      C p, q, s, d;
      FirstLevel(in[0], in[2], firstLevelScale, &p, &q);
      FirstLevel(in[1], in[3], firstLevelScale, &s, &d);
      d = Rot<kSign>(d);
      res[0] = Add(p, s);
      res[2] = Sub(p, s);
      res[1] = Add(q, d);
      res[3] = Sub(q, d);
    } else if (qn == 8) {
      Dft8<kSign>(in, res, firstLevelScale);
    } else {
      Dft16<kSign>(in, res, firstLevelScale);
    }
    for (int k = 0; k < qn; ++k) {
      C v = res[k];
      if (k > 0) {
        float c, s;
        W128(lane * k * step, &c, &s);
        v = TwiddleConst<kSign>(v, c, s);
      }
      col[k][lane] = v;
    }
  }
  for (int k = 0; k < qn; ++k) {
    C g[8], y[8];
    for (int lane = 0; lane < 8; ++lane) g[lane] = col[k][lane];
    Dft8<kSign>(g, y);
    for (int u = 0; u < 8; ++u) out[k + qn * u] = y[u];
  }
  return out;
}

}  // namespace many_core_model
