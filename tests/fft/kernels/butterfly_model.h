// Scalar model of the 256-bit butterfly kernels (classes 4-7): the same
// passes, plain float operations and (classes 5-7, fused = true) std::fmaf in
// the order the kernels' rules give, on complex values in natural point order (the
// kernels' block layouts do not change any value). It reads the twiddle table
// of the specification as the kernels do.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "primitives/vector_types.h"

namespace butterfly_model {

using C = ComplexFloat32;

inline int Log2(int64_t n) { return 63 - __builtin_clzll(static_cast<uint64_t>(n)); }

inline int64_t Reverse(int64_t v, int bits) {
  int64_t r = 0;
  for (int b = 0; b < bits; ++b) r |= ((v >> b) & 1) << (bits - 1 - b);
  return r;
}

// One pass of the plan: radix and the sub-transform length it merges.
struct Pass {
  int radix;
  int64_t span;
};

// The passes after the first one for n = 2^L (classes 4-7): span 4 radix 4; a
// later pass radix 8 when 3 levels remain, when more than 4 remain and L <= 11,
// or on span 16 for odd L; radix 4 otherwise.
inline std::vector<Pass> Plan(int L) {
  std::vector<Pass> plan{{4, 4}};
  int64_t span = 16;
  while (span < (int64_t{1} << L)) {
    const int r = L - Log2(span);
    const bool r8 = r == 3 || (r > 4 && L <= 11) || (span == 16 && (L & 1));
    plan.push_back({r8 ? 8 : 4, span});
    span *= r8 ? 8 : 4;
  }
  return plan;
}

inline C Add(C a, C b) { return {a.re + b.re, a.im + b.im}; }
inline C Sub(C a, C b) { return {a.re - b.re, a.im - b.im}; }
// a + j*b and a - j*b, j = +i (inverse) or -i (forward).
inline C AddJ(int sign, C a, C b) { return sign > 0 ? C{a.re - b.im, a.im + b.re} : C{a.re + b.im, a.im - b.re}; }
inline C SubJ(int sign, C a, C b) { return sign > 0 ? C{a.re + b.im, a.im - b.re} : C{a.re - b.im, a.im + b.re}; }

// z times the stored (c, s): forward c*a - s*b, c*b + s*a; inverse conjugated;
// the cosine product rounded, the sine term fused; with fused = false (class
// 4) all four products rounded before the addition or subtraction.
inline C Twiddle(int sign, C z, float c, float s, bool fused = true) {
  if (!fused) {
    if (sign < 0) return {c * z.re - s * z.im, c * z.im + s * z.re};
    return {c * z.re + s * z.im, c * z.im - s * z.re};
  }
  if (sign < 0) return {std::fmaf(-s, z.im, c * z.re), std::fmaf(s, z.re, c * z.im)};
  return {std::fmaf(s, z.im, c * z.re), std::fmaf(-s, z.re, c * z.im)};
}

// Radix 4 over legs at y[b + j + m*span], entries 2, 1, 3 on legs 1, 2, 3.
inline void Radix4Pass(int sign, std::vector<C>& y, int64_t span, const float* run, bool fused = true) {
  const int64_t n = static_cast<int64_t>(y.size());
  const int w = span == 4 ? 4 : 8;
  const int groupFloats = 6 * w;
  for (int64_t b = 0; b < n; b += 4 * span) {
    for (int64_t j = 0; j < span; ++j) {
      const float* g = run + groupFloats * (j / w);
      const int lane = static_cast<int>(j % w);
      auto entry = [&](int e, C z) { return Twiddle(sign, z, g[2 * w * (e - 1) + lane], g[2 * w * (e - 1) + w + lane], fused); };
      const C a = y[b + j];
      const C t2 = entry(2, y[b + j + span]);
      const C t1 = entry(1, y[b + j + 2 * span]);
      const C t3 = entry(3, y[b + j + 3 * span]);
      const C R = Add(a, t2), S = Sub(a, t2), P = Add(t1, t3), Q = Sub(t1, t3);
      y[b + j] = Add(R, P);
      y[b + j + 2 * span] = Sub(R, P);
      y[b + j + span] = AddJ(sign, S, Q);
      y[b + j + 3 * span] = SubJ(sign, S, Q);
    }
  }
}

// The kernels' factor of the odd multiples of 45 degrees: 0x3F3504F4, one unit
// in the last place above the float nearest to 1/sqrt(2).
inline constexpr uint32_t kRotationBits = 0x3F3504F4u;

inline void Radix8Pass(int sign, std::vector<C>& y, int64_t span, const float* run, uint32_t hBits,
                       bool fused = true) {
  const int64_t n = static_cast<int64_t>(y.size());
  const int residue[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  float h;
  std::memcpy(&h, &hBits, 4);
  const float g = -h;
  for (int64_t b = 0; b < n; b += 8 * span) {
    for (int64_t j = 0; j < span; ++j) {
      const float* grp = run + 112 * (j / 8);
      const int lane = static_cast<int>(j % 8);
      C T[8];
      T[0] = y[b + j];
      for (int r = 1; r < 8; ++r) {
        const int e = residue[r];
        T[e] = Twiddle(sign, y[b + j + r * span], grp[16 * (e - 1) + lane], grp[16 * (e - 1) + 8 + lane], fused);
      }
      const C P = Add(T[0], T[4]), M = Sub(T[0], T[4]);
      const C P26 = Add(T[2], T[6]), M26 = Sub(T[2], T[6]);
      const C P15 = Add(T[1], T[5]), M15 = Sub(T[1], T[5]);
      const C P37 = Add(T[3], T[7]), M37 = Sub(T[3], T[7]);
      C o[8];
      o[0] = Add(Add(P, P26), Add(P15, P37));
      o[4] = Sub(Add(P, P26), Add(P15, P37));
      o[2] = AddJ(sign, Sub(P, P26), Sub(P15, P37));
      o[6] = SubJ(sign, Sub(P, P26), Sub(P15, P37));
      const C u = AddJ(sign, M, M26), v = SubJ(sign, M, M26);
      const C D = AddJ(sign, M15, M37), F = SubJ(sign, M15, M37);
      C p, q;
      if (sign < 0) {
        p = {h * D.re + h * D.im, h * D.im - h * D.re};
        q = {g * F.re - g * F.im, g * F.im + g * F.re};
      } else {
        p = {h * D.re - h * D.im, h * D.im + h * D.re};
        q = {g * F.re + g * F.im, g * F.im - g * F.re};
      }
      o[1] = Add(u, p);
      o[5] = Sub(u, p);
      o[3] = Add(v, q);
      o[7] = Sub(v, q);
      for (int m = 0; m < 8; ++m) y[b + j + m * span] = o[m];
    }
  }
}

// The first radix-4 pass on the bit-reversed sequence z (z[4k + m] is the
// point that the first pass reads as a_m).
inline std::vector<C> FirstPass(int sign, const std::vector<C>& z) {
  std::vector<C> y(z.size());
  for (size_t k = 0; k < z.size(); k += 4) {
    const C s01 = Add(z[k], z[k + 1]), d01 = Sub(z[k], z[k + 1]);
    const C s23 = Add(z[k + 2], z[k + 3]), d23 = Sub(z[k + 2], z[k + 3]);
    y[k] = Add(s01, s23);
    y[k + 2] = Sub(s01, s23);
    y[k + 1] = AddJ(sign, d01, d23);
    y[k + 3] = SubJ(sign, d01, d23);
  }
  return y;
}

// The transform of the bit-reversed sequence z (n = z.size()), natural order.
inline std::vector<C> FromBitReversed(int sign, const std::vector<C>& z, const float* twiddles,
                                      uint32_t hBits = kRotationBits, bool fused = true) {
  std::vector<C> y = FirstPass(sign, z);
  for (const Pass& p : Plan(Log2(static_cast<int64_t>(z.size())))) {
    const float* run = twiddles + 2 * p.span - 8;
    if (p.radix == 4) {
      Radix4Pass(sign, y, p.span, run, fused);
    } else {
      Radix8Pass(sign, y, p.span, run, hBits, fused);
    }
  }
  return y;
}

inline std::vector<C> BitReversed(const std::vector<C>& x) {
  const int L = Log2(static_cast<int64_t>(x.size()));
  std::vector<C> z(x.size());
  for (size_t k = 0; k < x.size(); ++k) z[k] = x[Reverse(static_cast<int64_t>(k), L)];
  return z;
}

}  // namespace butterfly_model
