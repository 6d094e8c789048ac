// Scalar models of the sine and cosine kernels, one element at a time, in the
// order of operations of each rule: the unfused rule of classes 0 to 4 and the
// fused rule of classes 5 to 7. Plain float/double operations (the build turns
// contraction off) and std::fma / std::fmaf where the rule fuses.
//
// The models are the oracle the vector kernels are compared with bit for bit.
// The large-argument product is written differently from the kernels (one
// 64-bit sum instead of sixteen-bit lanes) so that the two check each other.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "vmath/sincos/sincos_tables.h"
#include "vmath/vmath_record.h"

namespace sincos_model {

inline uint32_t Bits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}
inline float Float(uint32_t u) {
  float f;
  std::memcpy(&f, &u, sizeof f);
  return f;
}
inline double Double(uint64_t u) {
  double d;
  std::memcpy(&d, &u, sizeof d);
  return d;
}

enum class Rule { kUnfused, kFused };

inline Rule RuleOfClass(int cls) { return cls >= 5 ? Rule::kFused : Rule::kUnfused; }

// |x| <= 10000: reduction by the nearest multiple of pi (cosine: by k = m - 1/2)
// in double, odd polynomial, one rounding to float, sign from the parity.
inline float FastPath(float x, bool cosine, Rule rule) {
  const bool fused = rule == Rule::kFused;
  const float invPi = Float(0x3EA2F983u);
  const float shifter = Float(0x4B400000u);
  const double piHi = Double(0x400921FB54440000ull);
  const double piLo = Double(0x3D968C234C4C6629ull);
  const double c1 = Double(0xBFC55554BC836587ull);
  const double c2 = Double(0x3F8110ED3804CA96ull);
  const double c3 = Double(0xBF29F6FFEEA73463ull);
  const double c4 = Double(0x3EC5DBDF0E4C7DEEull);
  float a;
  float k;
  uint32_t sign;
  if (cosine) {
    const float s = x + Float(0x3FC90FDBu);
    const float t = fused ? std::fmaf(s, invPi, shifter) : s * invPi + shifter;
    k = (t - shifter) - 0.5f;
    sign = Bits(t) << 31;
    a = x;
  } else {
    a = std::fabs(x);
    const float t = fused ? std::fmaf(a, invPi, shifter) : a * invPi + shifter;
    k = t - shifter;
    sign = (Bits(t) << 31) ^ (Bits(x) & 0x80000000u);
  }
  const double kd = k;
  const double ad = a;
  double y;
  if (fused) {
    double r = std::fma(-kd, piHi, ad);
    r = std::fma(-kd, piLo, r);
    const double z = r * r;
    double p = std::fma(c4, z, c3);
    p = std::fma(p, z, c2);
    p = std::fma(p, z, c1);
    const double q = p * z;
    y = std::fma(q, r, r);
  } else {
    const double r = (ad - kd * piHi) - kd * piLo;
    const double z = r * r;
    const double p = ((c4 * z + c3) * z + c2) * z + c1;
    y = r + (z * p) * r;
  }
  return Float(Bits(static_cast<float>(y)) ^ sign);
}

// |x| > 10000 (and every x the fast path may not take): the fraction of
// |x|/(2*pi) from the 96-bit table, the nearest 256th of a turn, and the sum
// formula with the turn table in float.
inline float LargePath(float x, bool cosine, Rule rule) {
  const bool fused = rule == Rule::kFused;
  const uint32_t u = Bits(x);
  const uint32_t sigma = u & 0x80000000u;
  const uint32_t e = (u >> 23) & 0xFFu;
  const uint64_t m = (u & 0x007FFFFFu) | 0x00800000u;
  const uint64_t mh = m >> 16;
  const uint64_t ml = m & 0xFFFFu;
  const uint32_t* row = lv_sincos_tables::kInvTwoPiTable[e];
  const uint64_t w0 = row[0];
  const uint64_t w1 = row[1];
  const uint64_t w2 = row[2];
  // Bits 95..32 of m * row mod 2^96, without ml * (low half of w2) and with
  // only the bits from 2^32 up of the two products at 2^16.
  const uint64_t formed = (((m * w0) & 0xFFFFFFFFu) << 32) + m * w1 + mh * (w2 >> 16) + ((ml * (w2 >> 16)) >> 16) +
                          ((mh * (w2 & 0xFFFFu)) >> 16);
  const uint32_t b1 = static_cast<uint32_t>(formed >> 41);
  const uint32_t b2 = static_cast<uint32_t>(formed >> 18) & 0x7FFFFFu;
  const uint32_t b3 = static_cast<uint32_t>(formed) & 0x3FFFFu;
  const float q = Float(sigma | 0x3F800000u | b1);
  const float f2 = Float(sigma | 0x34000000u | b2) - Float(sigma | 0x34000000u);
  const float f3 = Float(sigma | 0x28800000u | (b3 << 5)) - Float(sigma | 0x28800000u);
  const float grid = Float(0x47400000u);
  const float g = grid + q;
  const uint32_t j = Bits(g) & 0xFFu;
  const float d = q - (g - grid);

  const float twoPi = Float(0x40C90FDBu);
  const float t = d + f2;
  const float te = f2 + (d - t);
  const float uu = te + f3;
  float y;
  float yl;
  if (fused) {
    y = t * twoPi;
    const float err = std::fmaf(t, twoPi, -y);
    const float w = std::fmaf(t, Float(0xB43BBD2Eu), err);
    yl = std::fmaf(uu, twoPi, w);
  } else {
    const float twoPiHi = Float(0x40C91000u);
    const float twoPiLo = Float(0xB795777Au);
    const float th = Float(Bits(t) & 0xFFFFF000u);
    const float tl = t - th;
    const float mid = (twoPiHi * tl + th * twoPiLo) + (uu * twoPi + tl * twoPiLo);
    const float a0 = twoPiHi * th;
    y = mid + a0;
    yl = mid + (a0 - y);
  }

  const uint32_t* entry = cosine ? lv_sincos_tables::kCosTurnTableBits[j] : lv_sincos_tables::kSinTurnTableBits[j];
  const float T0 = Float(entry[0]);
  const float T1 = Float(entry[1]);
  const float T2 = Float(entry[2]);
  const float T3 = Float(entry[3]);
  const float s1 = Float(0xBE2AAAABu);
  const float s2 = Float(0x3C08885Cu);
  const float k1 = Float(0xBF000000u);
  const float k2 = Float(0x3D2AAA7Cu);
  const float y2 = y * y;
  if (fused) {
    const float A = std::fmaf(y, T3, T1);
    const float B = std::fmaf(T0, y, A);
    const float e1 = std::fmaf(y, T3, T1 - A);
    const float e2 = std::fmaf(T0, y, A - B);
    const float ee = e2 + e1;
    const float S = (std::fmaf(s2, y2, s1) * y2) * y;
    const float cs = std::fmaf(-y, T1, T0 + T3);
    const float C = std::fmaf(k2, y2, k1) * y2;
    return B + (std::fmaf(C, T1, std::fmaf(yl, cs, T2)) + std::fmaf(S, cs, ee));
  }
  const float p3 = y * T3;
  const float A = T1 + p3;
  const float e1 = p3 + (T1 - A);
  const float p0 = y * T0;
  const float B = A + p0;
  const float e2 = p0 + (A - B);
  const float ee = e2 + e1;
  const float S = ((s2 * y2 + s1) * y2) * y;
  const float C = y2 * (k2 * y2 + k1);
  const float cs = (T0 + T3) - y * T1;
  return B + ((T1 * C + (yl * cs + T2)) + (cs * S + ee));
}

// One element as the kernels compute it; *code is kVmathCodeDomain for
// +-infinity, else 0.
inline float Eval(float x, bool cosine, Rule rule, int32_t* code = nullptr) {
  const uint32_t u = Bits(x);
  if (code != nullptr) {
    *code = 0;
  }
  if ((u & 0x7FFFFFFFu) == 0x7F800000u) {
    if (code != nullptr) {
      *code = kVmathCodeDomain;
    }
    return Float(0xFFC00000u);
  }
  if ((u & 0x7F800000u) == 0x7F800000u) {
    return Float(u | 0x00400000u);
  }
  if (std::fabs(x) <= 10000.0f) {
    return FastPath(x, cosine, rule);
  }
  return LargePath(x, cosine, rule);
}

}  // namespace sincos_model
