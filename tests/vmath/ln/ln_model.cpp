#include "ln_model.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "vmath/ln/ln_classes.h"
#include "vmath/ln/ln_constants.h"

namespace lv_test_ln {
namespace {

using lv_vmath_ln::F32;
uint32_t B(float f) { return std::bit_cast<uint32_t>(f); }

float TableEntry(const uint32_t* table, int j, int k) { return F32(table[4 * j + k]); }

// Class 0 steps 2 to 6 on a normal pattern; origin is the input's pattern.
float Class0Normal(uint32_t u, uint32_t origin, float eAdjust) {
  const float m = F32((u & 0x007FFFFFu) | 0x3F800000u);
  const float E = static_cast<float>(static_cast<int>(u >> 23) - 127) + eAdjust;
  const int j = static_cast<int>((((u >> 16) & 0x7F) + 1) >> 1);
  const float hi = TableEntry(lv_vmath_ln::kLnTableSse2, j, 0);
  const float lo = TableEntry(lv_vmath_ln::kLnTableSse2, j, 1);
  const float rcp = TableEntry(lv_vmath_ln::kLnTableSse2, j, 2);
  const float mh = F32(B(m) & 0xFFFFC000u);
  const float ml = m - mh;
  const float a = mh * rcp - 1.0f;
  float b = ml * rcp;
  const float r = a + b;
  const float p = (((lv_vmath_ln::kP2 * r + lv_vmath_ln::kP1) * r + lv_vmath_ln::kP0) * r) * r;
  float high = E * lv_vmath_ln::kLn2Hi + (hi + a);
  const float low = E * lv_vmath_ln::kLn2Lo + lo;
  if (static_cast<int32_t>(origin + 0x407E0000u) > 0x7FFC0000) {
    high = high + b;
    b = 0.0f;
  }
  return ((p + low) + b) + high;
}

float Class0(float x, int32_t* code) {
  const uint32_t u = B(x);
  *code = 0;
  if (u - 0x00800000u < 0x7F000000u) {
    return Class0Normal(u, u, 0.0f);
  }
  if ((u & 0x7FFFFFFFu) == 0) {
    *code = kVmathCodeSingularity;
    return F32(0xFF800000u);
  }
  if (u < 0x00800000u) {
    const int lead = 31 - __builtin_clz(u);
    const uint32_t norm = (static_cast<uint32_t>(lead + 1) << 23) | ((u << (23 - lead)) & 0x007FFFFFu);
    return Class0Normal(norm, u, -23.0f);
  }
  if (u >= 0x80000000u && u <= 0xFF800000u) {
    *code = kVmathCodeDomain;
    return F32(0x7FFC0000u);
  }
  return x;
}

float Class1Normal(float x) {
  const uint32_t u = B(x);
  const uint32_t mb = (u & 0x007FFFFFu) | 0x3F800000u;
  const float m = F32(mb);
  const float E = static_cast<float>(static_cast<int>(u >> 23) - 127);
  const int j = static_cast<int>((((u >> 16) & 0x7F) + 1) >> 1);
  const float hi = TableEntry(lv_vmath_ln::kLnTableSse3, j, 0);
  const float lo = TableEntry(lv_vmath_ln::kLnTableSse3, j, 1);
  const float rcp = TableEntry(lv_vmath_ln::kLnTableSse3, j, 2);
  const float m1 = F32((mb + 0x00010000u) & 0xFFFE0000u);
  const float r = (m - m1) * rcp;
  const float p = ((lv_vmath_ln::kQ1 * r + lv_vmath_ln::kQ0) * r) * r;
  return ((p + (E * lv_vmath_ln::kLn2Lo3 + lo)) + r) + (E * lv_vmath_ln::kLn2Hi3 + hi);
}

float Class1(float x, int32_t* code) {
  const uint32_t u = B(x);
  *code = 0;
  if (u - 0x00800000u < 0x7F000000u) {
    return Class1Normal(x);
  }
  if ((u & 0x7FFFFFFFu) == 0) {
    *code = kVmathCodeSingularity;
    return F32(0xFF800000u);
  }
  if (u >= 0x80000000u && u <= 0xFF800000u) {
    *code = kVmathCodeDomain;
    return F32(0xFFC00000u);
  }
  volatile float scale = lv_vmath_ln::kScale;
  const float scaled = x * scale;
  if ((u & 0x7F800000u) == 0x7F800000u) {
    return scaled;
  }
  return Class1Normal(scaled) + lv_vmath_ln::kSubnormalOffset;
}

float Poly(float x, bool fused) {
  const uint32_t v = B(x) - 0x3F2AAAABu;
  const float k = static_cast<float>(static_cast<int32_t>(v) >> 23);
  const float f = F32((v & 0x007FFFFFu) + 0x3F2AAAABu) - 1.0f;
  using namespace lv_vmath_ln;
  if (fused) {
    float q = std::fma(kC9, f, kC8);
    for (float c : {kC7, kC6, kC5, kC4, kC3}) {
      q = std::fma(q, f, c);
    }
    q = q * f;
    q = std::fma(q, f, f);
    return std::fma(k, kLn2, q);
  }
  float q = kC9;
  for (float c : {kC8, kC7, kC6, kC5, kC4, kC3}) {
    q = q * f + c;
  }
  q = (q * f) * f;
  return (f + q) + k * kLn2;
}

float Segments(float x) {
  // x = 2^e m with m in [0.75, 1.5).
  int E;
  const float m1 = std::frexp(x, &E);  // [0.5, 1)
  float m = m1 * 2.0f;                  // [1, 2), x = 2^(E-1) m
  int e = E - 1;
  if (m >= 1.5f) {
    m = m * 0.5f;
    e = e + 1;
  }
  const float f = m - 1.0f;
  const int s = static_cast<int>((B(m) >> 19) & 0xF);
  using namespace lv_vmath_ln;
  float q = std::fma(F32(kLnSegmentTable[3][s]), f, F32(kLnSegmentTable[2][s]));
  q = std::fma(q, f, F32(kLnSegmentTable[1][s]));
  q = std::fma(q, f, F32(kLnSegmentTable[0][s]));
  const float eLn2 = static_cast<float>(e) * kLn2;
  return std::fma(q, f, eLn2);
}

}  // namespace

LnSpecialFn LnSpecialOfClass(int cls) {
  static const LnSpecialFn kFns[8] = {nullptr,
                                      nullptr,
                                      &LnFloat32SpecialValuesSsse3,
                                      &LnFloat32SpecialValuesSsse3,
                                      &LnFloat32SpecialValuesAvx,
                                      &LnFloat32SpecialValuesAvx2,
                                      &LnFloat32SpecialValuesAvx512ManyCore,
                                      &LnFloat32SpecialValuesAvx512};
  return kFns[cls];
}

float ModelLn(int cls, float x, int32_t* code) {
  if (cls == 0) {
    return Class0(x, code);
  }
  if (cls == 1) {
    return Class1(x, code);
  }
  const uint32_t u = B(x);
  bool special;
  if (cls <= 5) {
    special = !(u - 0x00800000u < 0x7F000000u);
  } else if (cls == 6) {
    special = (u & 0x7FFFFFFFu) == 0 || (u & 0x7F800000u) == 0x7F800000u || (u >> 31) != 0;
  } else {
    special = (u & 0x7FFFFFFFu) == 0 || (u & 0x7FFFFFFFu) == 0x7F800000u || ((u >> 31) != 0 && !std::isnan(x));
  }
  if (special) {
    float r;
    *code = LnSpecialOfClass(cls)(&x, &r);
    return r;
  }
  *code = 0;
  if (cls <= 5) {
    return Poly(x, cls == 5);
  }
  if (std::isnan(x)) {
    return F32(u | 0x00400000u);
  }
  return Segments(x);
}

}  // namespace lv_test_ln
