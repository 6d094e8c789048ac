// Scalar model of the small-order FFT kernels of classes 1, 2 and 3 (the
// 128-bit build, orders 2 to 5; orders 0 and 1 are class 0's): plain float
// operations in the grouping the build's rules give, the twiddles rounded once
// from long double. The kernels must equal it bit for bit.
#pragma once

#include <cmath>
#include <vector>

#include "primitives/vector_types.h"

namespace small_model_128 {

using C = ComplexFloat32;

inline C Add(C a, C b) { return {a.re + b.re, a.im + b.im}; }
inline C Sub(C a, C b) { return {a.re - b.re, a.im - b.im}; }
inline C Scale(C z, float s) { return {z.re * s, z.im * s}; }
// j z with j = sign i (sign +1 inverse, -1 forward): an exchange, no product.
inline C J(int sign, C z) { return sign > 0 ? C{-z.im, z.re} : C{z.im, -z.re}; }

// cos and sin of 2 pi e / n, each the float nearest to it; exact zeros are +0.
inline void Twiddle(int e, int n, float* c, float* s) {
  e %= n;
  const long double a = 2.0L * 3.14159265358979323846264338327950288L * e / n;
  *c = (4 * e) % n == 0 && ((4 * e) / n) % 2 == 1 ? 0.0f : static_cast<float>(std::cos(a));
  *s = (2 * e) % n == 0 ? 0.0f : static_cast<float>(std::sin(a));
}

// z W_n^e of the direction as one general product: re = z.re c - z.im s',
// im = z.im c + z.re s', s' = sign * sin.
inline C Product(int sign, C z, int e, int n) {
  float c, s;
  Twiddle(e, n, &c, &s);
  const float sd = sign > 0 ? s : -s;
  return {z.re * c - z.im * sd, z.im * c + z.re * sd};
}

// y = sum_m u_m (sign i)^(m k): a = u0 + u2, b = u0 - u2, c = u1 + u3, d = u1 - u3.
inline void Butterfly(int sign, const C* u, C* y) {
  const C a = Add(u[0], u[2]), b = Sub(u[0], u[2]), c = Add(u[1], u[3]), d = Sub(u[1], u[3]);
  y[0] = Add(a, c);
  y[2] = Sub(a, c);
  y[1] = Add(b, J(sign, d));
  y[3] = Sub(b, J(sign, d));
}

// The whole kernel of order 2..5 (N = 4 M); normalising when scaled.
inline std::vector<C> Transform(int sign, int order, const std::vector<C>& x, bool scaled, float s) {
  const int n = 1 << order, m = n / 4;
  std::vector<C> X(n);
  // Stage 1 over the residues, D[r][k].
  std::vector<std::vector<C>> d(m, std::vector<C>(4));
  for (int r = 0; r < m; ++r) {
    const C u[4] = {x[r], x[r + m], x[r + 2 * m], x[r + 3 * m]};
    Butterfly(sign, u, d[r].data());
  }
  const float h = 0.70710677f;
  if (order == 2) {
    for (int k = 0; k < 4; ++k) X[k] = d[0][k];
  } else if (order == 3) {
    // W_8^1 and W_8^3 sum first, W_8^2 an exchange.
    C t[4];
    const C z1 = d[1][1], z3 = d[1][3];
    t[0] = d[1][0];
    t[2] = J(sign, d[1][2]);
    if (sign > 0) {
      t[1] = {(z1.re - z1.im) * h, (z1.re + z1.im) * h};
      t[3] = {(z3.re + z3.im) * -h, (z3.im - z3.re) * -h};
    } else {
      t[1] = {(z1.re + z1.im) * h, (z1.im - z1.re) * h};
      t[3] = {(z3.re - z3.im) * -h, (z3.re + z3.im) * -h};
    }
    for (int k = 0; k < 4; ++k) {
      X[k] = Add(d[0][k], t[k]);
      X[k + 4] = Sub(d[0][k], t[k]);
    }
  } else {
    // Every residue above 0 is turned at every frequency by a general product.
    for (int r = 1; r < m; ++r) {
      for (int k = 0; k < 4; ++k) d[r][k] = Product(sign, d[r][k], r * k, n);
    }
    for (int k = 0; k < 4; ++k) {
      if (order == 4) {
        C a = Add(d[0][k], d[2][k]), b = Sub(d[0][k], d[2][k]), c = Add(d[1][k], d[3][k]);
        C jd = J(sign, Sub(d[1][k], d[3][k]));
        if (scaled) {
          a = Scale(a, s);
          b = Scale(b, s);
          c = Scale(c, s);
          jd = Scale(jd, s);
        }
        X[k] = Add(a, c);
        X[k + 8] = Sub(a, c);
        X[k + 4] = Add(b, jd);
        X[k + 12] = Sub(b, jd);
      } else {
        C a[4], b[4], e[4];
        for (int r = 0; r < 4; ++r) {
          a[r] = Add(d[r][k], d[r + 4][k]);
          b[r] = Sub(d[r][k], d[r + 4][k]);
        }
        Butterfly(sign, a, e);
        for (int p = 0; p < 4; ++p) X[k + 8 * p] = e[p];
        const C u = Scale(b[1], h), v = Scale(b[3], h);
        const C p = Add(b[0], Sub(u, v)), q = Add(b[2], Add(u, v));
        const C r = Sub(b[0], Sub(u, v)), w = Sub(Add(u, v), b[2]);
        X[k + 4] = Add(p, J(sign, q));
        X[k + 28] = Sub(p, J(sign, q));
        X[k + 12] = Add(r, J(sign, w));
        X[k + 20] = Sub(r, J(sign, w));
      }
    }
  }
  if (scaled && order != 4) {
    for (C& v : X) v = Scale(v, s);
  }
  return X;
}

}  // namespace small_model_128
