// Scalar models of the 128-bit in-place butterfly kernels (classes 1 to 3):
// the kernels' passes on complex values in natural point order, every sum and
// product rounded to float in the kernel's order, the stages chosen by the
// class rule. Input: the points in bit-reversed order and the class's twiddle
// table of the order; result: the transform in natural order. The vector
// kernels must equal them bit for bit.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "primitives/vector_types.h"
#include "tests/fft/stage_rule.h"

namespace butterfly_sse_model {

using C = ComplexFloat32;

// The kernels' factor of the odd multiples of 45 degrees: 0x3F3504F4, one unit
// in the last place above the float nearest to 1/sqrt(2).
inline constexpr uint32_t kRotationBits = 0x3F3504F4u;

// ---- class 1 ------------------------------------------------------------------

namespace class1 {

// sign -1 forward, +1 inverse; j = sign * i.
inline C Add(C a, C b) { return {a.re + b.re, a.im + b.im}; }
inline C Sub(C a, C b) { return {a.re - b.re, a.im - b.im}; }
inline C TimesJ(int sign, C b) { return sign < 0 ? C{b.im, -b.re} : C{-b.im, b.re}; }
inline C Twiddle(int sign, C z, float c, float s) {
  if (sign < 0) return {z.re * c - z.im * s, z.im * c + z.re * s};
  return {z.re * c + z.im * s, z.im * c - z.re * s};
}

// The kernel's arithmetic on points in bit-reversed order, one butterfly at a
// time; returns the transform in natural order.
inline std::vector<C> Model(int sign, std::vector<C> x, const float* table, uint32_t c8bits = kRotationBits) {
  const int64_t n = static_cast<int64_t>(x.size());
  const int L = 63 - __builtin_clzll(static_cast<uint64_t>(n));
  for (int64_t k = 0; k < n; k += 4) {
    const C a0 = Add(x[k], x[k + 1]), b0 = Sub(x[k], x[k + 1]);
    const C a1 = Add(x[k + 2], x[k + 3]), b1 = Sub(x[k + 2], x[k + 3]);
    x[k] = Add(a0, a1);
    x[k + 2] = Sub(a0, a1);
    x[k + 1] = Add(b0, TimesJ(sign, b1));
    x[k + 3] = Sub(b0, TimesJ(sign, b1));
  }
  float c8 = 0;
  std::memcpy(&c8, &c8bits, 4);
  const float nc8 = -c8;
  const float* run = table;
  int64_t s = 4;
  for (const int r : fft_stage_rule::StageRadices(1, L)) {
    for (int64_t base = 0; base < n; base += r * s) {
      for (int64_t j = 0; j < s; ++j) {
        const float* group = run + (j / 4) * 8 * (r - 1);
        auto tw = [&](C z, int power) {
          return Twiddle(sign, z, group[8 * (power - 1) + j % 4], group[8 * (power - 1) + 4 + j % 4]);
        };
        C* v[8];
        for (int m = 0; m < r; ++m) v[m] = &x[base + m * s + j];
        if (r == 4) {
          const C t1 = tw(*v[1], 2), t2 = tw(*v[2], 1), t3 = tw(*v[3], 3);
          const C a = Add(*v[0], t1), b = Sub(*v[0], t1), e = Add(t2, t3), f = Sub(t2, t3);
          *v[0] = Add(a, e);
          *v[2] = Sub(a, e);
          *v[1] = Add(b, TimesJ(sign, f));
          *v[3] = Sub(b, TimesJ(sign, f));
        } else {
          const int power[8] = {0, 4, 2, 6, 1, 5, 3, 7};
          C t[8];
          t[0] = *v[0];
          for (int m = 1; m < 8; ++m) t[m] = tw(*v[m], power[m]);
          const C a = Add(t[0], t[1]), b = Sub(t[0], t[1]);
          const C s23 = Add(t[2], t[3]), d23 = Sub(t[2], t[3]);
          const C s45 = Add(t[4], t[5]), d45 = Sub(t[4], t[5]);
          const C s67 = Add(t[6], t[7]), d67 = Sub(t[6], t[7]);
          const C e = Add(a, s23), f = Sub(a, s23), g = Add(s45, s67), h = Sub(s45, s67);
          const C e1 = Add(b, TimesJ(sign, d23)), e3 = Sub(b, TimesJ(sign, d23));
          C r1, r3;
          if (sign < 0) {
            const float u1 = (d45.re + d67.im) * c8, w1 = (d45.im - d67.re) * c8;
            const float u3 = (d45.re - d67.im) * nc8, w3 = (d45.im + d67.re) * nc8;
            r1 = {u1 + w1, w1 - u1};
            r3 = {u3 - w3, w3 + u3};
          } else {
            const float u1 = (d45.re - d67.im) * c8, w1 = (d45.im + d67.re) * c8;
            const float u3 = (d45.re + d67.im) * nc8, w3 = (d45.im - d67.re) * nc8;
            r1 = {u1 - w1, w1 + u1};
            r3 = {u3 + w3, w3 - u3};
          }
          *v[0] = Add(e, g);
          *v[4] = Sub(e, g);
          *v[2] = Add(f, TimesJ(sign, h));
          *v[6] = Sub(f, TimesJ(sign, h));
          *v[1] = Add(e1, r1);
          *v[5] = Sub(e1, r1);
          *v[3] = Add(e3, r3);
          *v[7] = Sub(e3, r3);
        }
      }
    }
    run += 2 * (r - 1) * s;
    s *= r;
  }
  return x;
}

}  // namespace class1

// ---- classes 2 and 3 ------------------------------------------------------------

namespace class23 {

inline C Add(C a, C b) { return {a.re + b.re, a.im + b.im}; }
inline C Sub(C a, C b) { return {a.re - b.re, a.im - b.im}; }
inline C AddI(C a, C b) { return {a.re - b.im, a.im + b.re}; }  // a + i b
inline C SubI(C a, C b) { return {a.re + b.im, a.im - b.re}; }  // a - i b
// a + j b, a - j b with j = -i forward, +i inverse.
inline C AddJ(int sign, C a, C b) { return sign < 0 ? SubI(a, b) : AddI(a, b); }
inline C SubJ(int sign, C a, C b) { return sign < 0 ? AddI(a, b) : SubI(a, b); }

inline C Mul(int sign, C x, float wr, float wi) {
  if (sign < 0) return {x.re * wr - x.im * wi, x.im * wr + x.re * wi};
  return {x.re * wr + x.im * wi, x.im * wr - x.re * wi};
}

inline float FromBits(uint32_t b) {
  float f;
  std::memcpy(&f, &b, 4);
  return f;
}

// z holds the input in bit-reversed order; returns the transform in natural
// order.
inline std::vector<C> Model(int sign, const std::vector<C>& z, const float* table, uint32_t cBits = kRotationBits) {
  const int64_t n = static_cast<int64_t>(z.size());
  std::vector<C> y(n);
  for (int64_t j = 0; j < n; j += 4) {
    const C s01 = Add(z[j], z[j + 1]), d01 = Sub(z[j], z[j + 1]);
    const C s23 = Add(z[j + 2], z[j + 3]), d23 = Sub(z[j + 2], z[j + 3]);
    y[j] = Add(s01, s23);
    y[j + 1] = AddJ(sign, d01, d23);
    y[j + 2] = Sub(s01, s23);
    y[j + 3] = SubJ(sign, d01, d23);
  }
  const int L = 63 - __builtin_clzll(static_cast<uint64_t>(n));
  const std::vector<int> radices = fft_stage_rule::StageRadices(2, L);
  const float c = FromBits(cBits), nc = FromBits(cBits ^ 0x80000000u);
  size_t stage = 0;
  for (int64_t l = 4; l < n;) {
    const int radix = radices[stage++];
    const float* run = table + 2 * (l - 4);
    auto tw = [&](int64_t k, int r, C x) {
      const float* b = run + 8 * (radix - 1) * (k / 4) + 8 * (r - 1) + k % 4;
      return Mul(sign, x, b[0], b[4]);
    };
    for (int64_t g = 0; g < n; g += radix * l) {
      for (int64_t k = 0; k < l; ++k) {
        C* p = &y[g + k];
        if (radix == 4) {
          const C A = p[0];
          const C tC = tw(k, 1, p[2 * l]), tB = tw(k, 2, p[l]), tD = tw(k, 3, p[3 * l]);
          const C s = Add(tC, tD), d = Sub(tC, tD), a = Add(A, tB), b = Sub(A, tB);
          p[0] = Add(a, s);
          p[l] = AddJ(sign, b, d);
          p[2 * l] = Sub(a, s);
          p[3 * l] = SubJ(sign, b, d);
        } else {
          const C t0 = p[0], t1 = tw(k, 1, p[4 * l]), t2 = tw(k, 2, p[2 * l]), t3 = tw(k, 3, p[6 * l]);
          const C t4 = tw(k, 4, p[l]), t5 = tw(k, 5, p[5 * l]), t6 = tw(k, 6, p[3 * l]), t7 = tw(k, 7, p[7 * l]);
          const C a = Add(t0, t4), b = Sub(t0, t4), s26 = Add(t2, t6), d26 = Sub(t2, t6);
          const C s15 = Add(t1, t5), d15 = Sub(t1, t5), s37 = Add(t3, t7), d37 = Sub(t3, t7);
          const C e0 = Add(a, s26), e2 = Sub(a, s26), g0 = Add(s15, s37), g2 = Sub(s15, s37);
          C u, v;
          if (sign < 0) {
            const float pp = c * (d15.re + d37.im), qq = c * (d15.im - d37.re);
            u = {pp + qq, qq - pp};
            const float p2 = nc * (d15.re - d37.im), q2 = nc * (d15.im + d37.re);
            v = {p2 - q2, q2 + p2};
          } else {
            const float pp = c * (d15.re - d37.im), qq = c * (d15.im + d37.re);
            u = {pp - qq, qq + pp};
            const float p2 = nc * (d15.re + d37.im), q2 = nc * (d15.im - d37.re);
            v = {p2 + q2, q2 - p2};
          }
          const C h1 = AddJ(sign, b, d26), h3 = SubJ(sign, b, d26);
          p[0] = Add(e0, g0);
          p[4 * l] = Sub(e0, g0);
          p[2 * l] = AddJ(sign, e2, g2);
          p[6 * l] = SubJ(sign, e2, g2);
          p[l] = Add(h1, u);
          p[5 * l] = Sub(h1, u);
          p[3 * l] = Add(h3, v);
          p[7 * l] = Sub(h3, v);
        }
      }
    }
    l *= radix;
  }
  return y;
}

}  // namespace class23

}  // namespace butterfly_sse_model
