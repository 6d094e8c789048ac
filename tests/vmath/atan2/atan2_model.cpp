#include "atan2_model.h"

#include <xmmintrin.h>

#include <bit>
#include <cmath>

#include "vmath/atan2/atan2_classes.h"

namespace lv_test_atan2 {
namespace {

float F(uint32_t b) { return std::bit_cast<float>(b); }
uint32_t B(float f) { return std::bit_cast<uint32_t>(f); }
float OrSign(float v, uint32_t sign) { return F(B(v) | sign); }

// Ordinary float operations, kept apart from any contraction.
float Rcp12(float v) { return _mm_cvtss_f32(_mm_rcp_ss(_mm_set_ss(v))); }

const float kC[9] = {0, F(0xBEAAAA49u), F(0x3E4CB79Fu), F(0xBE1161F8u), F(0x3DD96474u),
                     F(0xBD987629u), F(0x3D2BC384u), F(0xBC7F2631u), F(0x3B322CC0u)};
const float kHalfPi = F(0x3FC90FDBu);
const float kPi = F(0x40490FDBu);

float Baseline(float y, float x) {
  const float ay = std::fabs(y), ax = std::fabs(x);
  const uint32_t sy = B(y) & 0x80000000u;
  int k;
  if (F(0x3EC00000u) * ax > ay) {
    k = 0;
  } else if (F(0x3F3851ECu) * ax > ay) {
    k = 1;
  } else if (F(0x3FE00000u) * ax > ay) {
    k = 2;
  } else if (ay > F(0x402C0000u) * ax) {
    k = 4;
  } else {
    k = 3;
  }
  float num, den;
  switch (k) {
    case 0: num = ay; den = ax; break;
    case 1: num = ay - 0.5f * ax; den = ax + 0.5f * ay; break;
    case 2: num = ay - 1.0f * ax; den = ax + 1.0f * ay; break;
    case 3: num = ay - 2.0f * ax; den = ax + 2.0f * ay; break;
    default: num = -ax; den = ay; break;
  }
  const double D = den;
  const double R0 = Rcp12(den);
  const double E = 1.0 - D * R0;
  const double R = (R0 + E * R0) * (E * E + 1.0);
  const double T = R * static_cast<double>(num);
  const double THd = std::bit_cast<double>(std::bit_cast<uint64_t>(T) & 0xFFFFFFFFE0000000ull);
  const float TH = static_cast<float>(THd);
  const float TL = static_cast<float>(T - THd);
  const float Z = TH * TH;
  const float Z2 = Z * Z;
  const float P = (F(0x3DAE1329u) * Z2 + F(0x3E4CAA3Bu)) * Z + (F(0xBE0F4E4Eu) * Z2 + F(0xBEAAAA6Cu));
  float Q = (Z * P) * TH;
  const float hi[5] = {0.0f, F(0x3EED6338u), F(0x3F490FD8u), F(0x3F8DB710u), F(0x3FC90FD8u)};
  const float lo[5] = {0.0f, F(0x31AC3768u), F(0x34288858u), F(0xB4DA2880u), F(0x34A88858u)};
  float S = TL + lo[k];
  if (x < 0) {
    S = S - F(0xB5ABBBD3u);
  }
  Q = Q + S;
  float V = TH + Q;
  V = hi[k] + V;
  if (x < 0) {
    V = F(0x40490FE0u) - V;
  }
  return OrSign(V, sy);
}

float Quotient(FastRule rule, float y, float x) {
  const float ay = std::fabs(y), ax = std::fabs(x);
  const uint32_t sx = B(x) & 0x80000000u, sy = B(y) & 0x80000000u;
  const bool M = ay < ax;
  const float N = M ? ay : -ax;
  const float D = M ? ax : ay;
  float T;
  if (rule == FastRule::kRecip28 || rule == FastRule::kRecip14) {
    const int ed = std::ilogb(D), en = std::ilogb(N);
    const float md = std::scalbn(D, -ed);
    const float mn = std::scalbn(N, -en);
    const float r = rule == FastRule::kRecip28 ? Rcp28(md) : Rcp14(md);
    const float q0 = mn * r;
    const float e = std::fma(-md, q0, mn);
    const float q1 = std::fma(r, e, q0);
    T = std::ldexp(q1, en - ed);
  } else {
    T = N / D;
  }
  const float Z = T * T;
  const float Z2 = Z * Z;
  const float Bv = M ? 0.0f : kHalfPi;
  float V;
  if (rule == FastRule::kQuotient) {
    const float E = (((kC[8] * Z2 + kC[6]) * Z2 + kC[4]) * Z2 + kC[2]) * Z2 + 1.0f;
    const float O = ((kC[7] * Z2 + kC[5]) * Z2 + kC[3]) * Z2 + kC[1];
    const float P = E + Z * O;
    V = T * P + Bv;
  } else {
    const float E = std::fma(std::fma(std::fma(std::fma(kC[8], Z2, kC[6]), Z2, kC[4]), Z2, kC[2]), Z2, 1.0f);
    const float O = std::fma(std::fma(std::fma(kC[7], Z2, kC[5]), Z2, kC[3]), Z2, kC[1]);
    const float P = std::fma(Z, O, E);
    V = std::fma(T, P, Bv);
  }
  V = OrSign(V, sx);
  if (x <= 0) {
    V = V + kPi;
  }
  return OrSign(V, sy);
}

}  // namespace

FastRule RuleOfClass(int cls) {
  switch (cls) {
    case 0: return FastRule::kBaseline;
    case 5: return FastRule::kQuotientFused;
    case 6: return FastRule::kRecip28;
    case 7: return FastRule::kRecip14;
    default: return FastRule::kQuotient;
  }
}

bool IsSpecialLane(float y, float x) {
  const auto special = [](float v) {
    const int32_t t = static_cast<int32_t>((B(v) & 0x7FFFFFFFu) - 0x81000000u);
    return t >= static_cast<int32_t>(0xFC000000u);
  };
  return special(y) || special(x);
}

bool IsZeroLane(float y, float x) {
  return IsSpecialLane(y, x) && ((B(y) & 0x7FFFFFFFu) == 0 || (B(x) & 0x7FFFFFFFu) == 0) && !std::isnan(x) &&
         !std::isnan(y);
}

float ModelFast(FastRule rule, float y, float x) {
  return rule == FastRule::kBaseline ? Baseline(y, x) : Quotient(rule, y, x);
}

float ModelZeroLane(float y, float x) {
  const float ay = std::fabs(y), ax = std::fabs(x);
  const uint32_t sx = B(x) & 0x80000000u, sy = B(y) & 0x80000000u;
  const bool bothZero = (B(ay) == 0) && (B(ax) == 0);
  float V = (bothZero || ay < ax) ? 0.0f : kHalfPi;
  V = OrSign(V, sx);
  if (sx != 0) {
    V = V + kPi;
  }
  return OrSign(V, sy);
}

SpecialFn SpecialOfClass(int cls) {
  static const SpecialFn kFns[8] = {&Atan2Float32SpecialValuesSse2,  &Atan2Float32SpecialValuesSse3,
                                    &Atan2Float32SpecialValuesSsse3, &Atan2Float32SpecialValuesSsse3,
                                    &Atan2Float32SpecialValuesAvx,   &Atan2Float32SpecialValuesAvx2,
                                    &Atan2Float32SpecialValuesAvx512ManyCore, &Atan2Float32SpecialValuesAvx512};
  return kFns[cls];
}

float ModelAtan2(int cls, float y, float x) {
  if (!IsSpecialLane(y, x)) {
    return ModelFast(RuleOfClass(cls), y, x);
  }
  if (IsZeroLane(y, x)) {
    return ModelZeroLane(y, x);
  }
  float r = 0;
  SpecialOfClass(cls)(&y, &x, &r);
  return r;
}

}  // namespace lv_test_atan2
