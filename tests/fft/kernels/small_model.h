// Scalar model of the small-order FFT kernels of classes 4, 5 and 7: plain
// float operations and std::fmaf in the order the kernels' rules give, one
// point at a time. The vector kernels must equal it bit for bit.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "primitives/vector_types.h"

namespace small_model {

using C = ComplexFloat32;

struct Rules {
  int sign;    // +1 inverse, -1 forward
  bool fused;  // classes 5 and 7
};

inline float Plus0(float v) { return v == 0.0f ? 0.0f : v; }

// cos and sin of 2 pi m/64 rounded once from long double; exact zeros are +0.
inline void Turn64(int m, float* c, float* s) {
  m &= 63;
  const long double a = 2.0L * 3.14159265358979323846264338327950288L * m / 64.0L;
  *c = (m % 16 == 0 && (m / 16) % 2 == 1) ? 0.0f : static_cast<float>(std::cos(a));
  *s = (m % 32 == 0) ? 0.0f : static_cast<float>(std::sin(a));
}

inline C Add(C a, C b) { return {a.re + b.re, a.im + b.im}; }
inline C Sub(C a, C b) { return {a.re - b.re, a.im - b.im}; }
// j*z with j = sign*i.
inline C MulJ(int sign, C z) { return sign > 0 ? C{-z.im, z.re} : C{z.im, -z.re}; }

// z times W_N^e of the direction: re = z.re*c - fl(z.im*sr), im = z.im*c - fl(z.re*si)
// with (sr, si) = (sign*s, -sign*s), the first product fused in the FMA classes.
inline C Rotate(const Rules& r, C z, int e, int n) {
  float c, s;
  Turn64(e * (64 / n), &c, &s);
  const float sr = Plus0(r.sign > 0 ? s : -s);
  const float si = Plus0(r.sign > 0 ? -s : s);
  const float pr = z.im * sr;
  const float pi = z.re * si;
  if (r.fused) return {std::fmaf(z.re, c, -pr), std::fmaf(z.im, c, -pi)};
  return {z.re * c - pr, z.im * c - pi};
}

// x[n] +- x[n + N/2] with inputs scaled as loaded.
inline void ScaledSumDiff(const Rules& r, float s, C lo, C hi, C* sum, C* diff) {
  const C sh{s * hi.re, s * hi.im};
  if (r.fused) {
    *sum = {std::fmaf(s, lo.re, sh.re), std::fmaf(s, lo.im, sh.im)};
    *diff = {std::fmaf(s, lo.re, -sh.re), std::fmaf(s, lo.im, -sh.im)};
  } else {
    const C sl{s * lo.re, s * lo.im};
    *sum = Add(sl, sh);
    *diff = Sub(sl, sh);
  }
}

inline void Radix4(const Rules& r, const C* u, bool scaled, float s, C* y) {
  C a, b, c, d;
  if (scaled) {
    ScaledSumDiff(r, s, u[0], u[2], &a, &b);
    ScaledSumDiff(r, s, u[1], u[3], &c, &d);
  } else {
    a = Add(u[0], u[2]);
    b = Sub(u[0], u[2]);
    c = Add(u[1], u[3]);
    d = Sub(u[1], u[3]);
  }
  const C t = MulJ(-r.sign, d);
  y[0] = Add(a, c);
  y[2] = Sub(a, c);
  y[1] = Sub(b, t);
  y[3] = Add(b, t);
}

inline void Butterfly8(const Rules& r, const C* u, bool scaled, float s, C* y) {
  const float h = 0.70710677f;
  C a[4], b[4];
  for (int m = 0; m < 4; ++m) {
    if (scaled) {
      ScaledSumDiff(r, s, u[m], u[m + 4], &a[m], &b[m]);
    } else {
      a[m] = Add(u[m], u[m + 4]);
      b[m] = Sub(u[m], u[m + 4]);
    }
  }
  const C q{h * b[3].re, h * b[3].im};
  C pmq, ppq;
  if (r.fused) {
    pmq = {std::fmaf(h, b[1].re, -q.re), std::fmaf(h, b[1].im, -q.im)};
    ppq = {std::fmaf(h, b[1].re, q.re), std::fmaf(h, b[1].im, q.im)};
  } else {
    const C p{h * b[1].re, h * b[1].im};
    pmq = Sub(p, q);
    ppq = Add(p, q);
  }
  const int j = r.sign;
  y[0] = Add(Add(a[0], a[2]), Add(a[1], a[3]));
  y[4] = Sub(Add(a[0], a[2]), Add(a[1], a[3]));
  y[2] = Add(Sub(a[0], a[2]), MulJ(j, Sub(a[1], a[3])));
  y[6] = Sub(Sub(a[0], a[2]), MulJ(j, Sub(a[1], a[3])));
  y[1] = Add(Add(b[0], pmq), MulJ(j, Add(b[2], ppq)));
  y[7] = Sub(Add(b[0], pmq), MulJ(j, Add(b[2], ppq)));
  y[3] = Add(Sub(b[0], pmq), MulJ(j, Sub(ppq, b[2])));
  y[5] = Sub(Sub(b[0], pmq), MulJ(j, Sub(ppq, b[2])));
}

inline C Scale(C z, float s) { return {z.re * s, z.im * s}; }

// The whole kernel of order 0..6; normalising when scaled.
inline std::vector<C> Transform(const Rules& r, int order, const std::vector<C>& x, bool scaled, float s) {
  const int n = 1 << order;
  std::vector<C> X(n);
  if (order == 0) {
    X[0] = scaled ? Scale(x[0], s) : x[0];
  } else if (order == 1) {
    X[0] = Add(x[0], x[1]);
    X[1] = Sub(x[0], x[1]);
    if (scaled) {
      X[0] = Scale(X[0], s);
      X[1] = Scale(X[1], s);
    }
  } else if (order == 2) {
    Radix4(r, x.data(), false, 1.0f, X.data());
    if (scaled) for (auto& v : X) v = Scale(v, s);
  } else if (order == 3) {
    const C ev[4] = {x[0], x[2], x[4], x[6]}, od[4] = {x[1], x[3], x[5], x[7]};
    C E[4], O[4];
    Radix4(r, ev, false, 1.0f, E);
    Radix4(r, od, false, 1.0f, O);
    const float h = 0.70710677f;
    X[0] = Add(E[0], O[0]);
    X[4] = Sub(E[0], O[0]);
    X[2] = Add(E[2], MulJ(r.sign, O[2]));
    X[6] = Sub(E[2], MulJ(r.sign, O[2]));
    const C t1 = Add(O[1], MulJ(r.sign, O[1]));
    const C t3 = Sub(O[3], MulJ(r.sign, O[3]));
    if (r.fused) {
      X[1] = {std::fmaf(h, t1.re, E[1].re), std::fmaf(h, t1.im, E[1].im)};
      X[5] = {std::fmaf(-h, t1.re, E[1].re), std::fmaf(-h, t1.im, E[1].im)};
      X[3] = {std::fmaf(-h, t3.re, E[3].re), std::fmaf(-h, t3.im, E[3].im)};
      X[7] = {std::fmaf(h, t3.re, E[3].re), std::fmaf(h, t3.im, E[3].im)};
    } else {
      const C p1{h * t1.re, h * t1.im}, p3{-h * t3.re, -h * t3.im};
      X[1] = Add(E[1], p1);
      X[5] = Sub(E[1], p1);
      X[3] = Add(E[3], p3);
      X[7] = Sub(E[3], p3);
    }
    if (scaled) for (auto& v : X) v = Scale(v, s);
  } else {
    // N = R x C: C-point transforms over the residues, twiddles, R-point ones.
    const int R = order == 4 ? 4 : 8;
    const int Cc = order == 6 ? 8 : 4;
    const bool scaleIn = scaled && order >= 5;
    std::vector<C> A(static_cast<size_t>(R) * Cc);  // A[k*R + rho]
    for (int rho = 0; rho < R; ++rho) {
      C u[8], y[8];
      for (int m = 0; m < Cc; ++m) u[m] = x[rho + R * m];
      if (Cc == 4) Radix4(r, u, scaleIn, s, y); else Butterfly8(r, u, scaleIn, s, y);
      for (int k = 0; k < Cc; ++k) A[k * R + rho] = k == 0 ? y[k] : Rotate(r, y[k], rho * k, n);
    }
    for (int k = 0; k < Cc; ++k) {
      C y[8];
      if (R == 4) Radix4(r, &A[k * R], false, 1.0f, y); else Butterfly8(r, &A[k * R], false, 1.0f, y);
      for (int q = 0; q < R; ++q) X[Cc * q + k] = y[q];
    }
    if (scaled && order == 4) for (auto& v : X) v = Scale(v, s);
  }
  return X;
}

}  // namespace small_model
