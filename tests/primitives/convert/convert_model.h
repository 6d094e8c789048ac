// Scalar model of every processor class's rule for the scaled conversions:
// the oracle the vector kernels are compared with, bit for bit.
//
// Each class's result follows from the order of its operations: which factor
// construction it uses (and under which rounding control it is built), which
// operand of a clamp is the value (an SSE minimum or maximum returns its second
// operand when either is a NaN), the integer indefinite value 0x80000000 that a
// conversion gives for a NaN or an out-of-range value, the compare-and-xor
// correction, saturating packs and the repair passes after the loop.
// Everything here is plain float and double arithmetic under the default
// rounding control; only the caller's rounding control is a parameter.
#pragma once

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace lv_test::convert_model {

// The rounding-control field of the SSE control and status register (bits 13-14).
enum Rc : uint32_t { kRcNearest = 0, kRcDown = 1, kRcUp = 2, kRcTowardZero = 3 };

inline bool IsHalfAway(int mode) { return mode != 0 && mode != 1; }

// Repeated halving of 1.0 in single precision under rounding control rc.
inline float HalvingFactor(int32_t s, Rc rc) {
  if (s >= -127 && s <= 149) {
    return std::ldexp(1.0f, -s);
  }
  if (s > 0) {
    return rc == kRcUp ? std::numeric_limits<float>::denorm_min() : 0.0f;
  }
  return (rc == kRcNearest || rc == kRcUp) ? INFINITY : FLT_MAX;
}

// Exponent-field factor, the biased exponent clamped (0 gives 0, the top gives +infinity).
inline float ExponentFactor32(int32_t s) {
  const int64_t e = 127 - int64_t{s};
  if (e <= 0) return 0.0f;
  if (e >= 255) return INFINITY;
  return std::ldexp(1.0f, static_cast<int>(e) - 127);
}
inline double ExponentFactor64(int32_t s) {
  const int64_t e = 1023 - int64_t{s};
  if (e <= 0) return 0.0;
  if (e >= 2047) return INFINITY;
  return std::ldexp(1.0, static_cast<int>(e) - 1023);
}

// SSE minimum and maximum: the second operand when either is a NaN (or they are equal).
template <typename T>
T MinSse(T a, T b) {
  return a < b ? a : b;
}
template <typename T>
T MaxSse(T a, T b) {
  return a > b ? a : b;
}

enum class Rounding { kNearestEven, kTowardZero, kDown, kUp };

inline Rounding FromRc(Rc rc) {
  switch (rc) {
    case kRcDown:
      return Rounding::kDown;
    case kRcUp:
      return Rounding::kUp;
    case kRcTowardZero:
      return Rounding::kTowardZero;
    default:
      return Rounding::kNearestEven;
  }
}

// v finite.
inline double RoundToInteger(double v, Rounding r) {
  switch (r) {
    case Rounding::kTowardZero:
      return std::trunc(v);
    case Rounding::kDown:
      return std::floor(v);
    case Rounding::kUp:
      return std::ceil(v);
    default: {
      const double f = std::floor(v);
      const double d = v - f;
      if (d > 0.5) return f + 1.0;
      if (d < 0.5) return f;
      return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
    }
  }
}

constexpr int32_t kIndefinite = INT32_MIN;

// The processor's conversion to int32: the integer indefinite for a NaN or an out-of-range result.
inline int32_t Cvt32(double v, Rounding r) {
  if (std::isnan(v) || std::isinf(v)) return kIndefinite;
  const double w = RoundToInteger(v, r);
  if (w < -2147483648.0 || w > 2147483647.0) return kIndefinite;
  return static_cast<int32_t>(w);
}

// floor(|v| + 0.5) with the sign of v, exactly (v finite).
inline double HalfAway(double v) {
  const double t = std::trunc(v);
  const double frac = v - t;
  if (frac >= 0.5) return t + 1.0;
  if (frac <= -0.5) return t - 1.0;
  return t;
}

inline int16_t Pack16(int32_t v) { return static_cast<int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v)); }
inline int16_t Saturate16(double v) { return static_cast<int16_t>(v < -32768.0 ? -32768 : (v > 32767.0 ? 32767 : v)); }
inline int32_t Saturate32(double v) {
  return v <= -2147483648.0 ? INT32_MIN : (v >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(v));
}
inline int32_t Bits(float x) { return std::bit_cast<int32_t>(x); }
inline uint64_t Bits(double x) { return std::bit_cast<uint64_t>(x); }

struct Road {
  int cls;        // processor class 0..7
  int mode;       // rounding mode as passed
  int32_t s;      // scale factor
  Rc callerRc;    // the caller's rounding control
};

// ----- float -> int16 -------------------------------------------------------
inline float FactorF32ToI16(const Road& r) {
  if (r.cls == 0) return HalvingFactor(r.s, r.callerRc);
  if (r.cls <= 4) {
    if (IsHalfAway(r.mode)) return HalvingFactor(r.s, kRcTowardZero);  // built under truncation
    return r.cls == 2 ? ExponentFactor32(r.s) : HalvingFactor(r.s, r.callerRc);
  }
  return ExponentFactor32(r.s);
}

inline int16_t ModelF32ToI16(const Road& r, float x) {
  const float y = r.s == 0 ? x : x * FactorF32ToI16(r);
  const bool ha = IsHalfAway(r.mode);
  const Rounding rn = r.cls == 0 ? FromRc(r.callerRc) : Rounding::kNearestEven;
  const Rounding rd = r.mode == 1 ? rn : Rounding::kTowardZero;
  if (r.cls == 0) {
    const float c = MaxSse(-32768.0f, MinSse(32767.0f, y));
    if (!ha) return static_cast<int16_t>(Cvt32(c, rd) & 0xFFFF);
    return std::isnan(c) ? 0 : static_cast<int16_t>(HalfAway(c));
  }
  if (r.cls <= 4 && ha) {
    const float c = MinSse(y, 32767.0f);
    return Saturate16(HalfAway(c == -INFINITY ? -1e300 : c));
  }
  if (r.cls == 2) {
    int16_t v = Pack16(Cvt32(y, rd));
    int64_t e = int64_t{r.s} + 158;
    e = e < 0 ? 0 : (e > 254 ? 254 : e);
    const int32_t threshold = static_cast<int32_t>(e << 23);
    const int32_t b = Bits(x);
    if (b >= threshold && v == -32768) v = b > 0x7F800000 ? 0 : 32767;
    return v;
  }
  if (r.cls <= 4) {
    const float c = MinSse(y, 32767.0f);
    return std::isnan(x) ? 0 : Pack16(Cvt32(c, rd));
  }
  const float c = MinSse(32767.0f, y);
  if (!ha) return Pack16(Cvt32(c, rd));
  if (std::isnan(c)) return -32768;
  return Saturate16(HalfAway(c == -INFINITY ? -1e300 : c));
}

// ----- float -> int32 -------------------------------------------------------
inline float FactorF32ToI32(const Road& r) {
  if (r.cls == 0 || r.cls == 1 || r.cls == 3 || r.cls == 4) return HalvingFactor(r.s, r.callerRc);
  if (r.cls == 2) return IsHalfAway(r.mode) ? HalvingFactor(r.s, r.callerRc) : ExponentFactor32(r.s);
  return ExponentFactor32(r.s);
}

inline int32_t ModelF32ToI32(const Road& r, float x) {
  const float f = FactorF32ToI32(r);
  const float y = r.s == 0 ? x : x * f;
  const bool ha = IsHalfAway(r.mode);
  const Rounding rn = r.cls == 0 ? FromRc(r.callerRc) : Rounding::kNearestEven;
  const Rounding rd = r.mode == 1 ? rn : Rounding::kTowardZero;
  if (r.cls == 0) {
    if (ha) {
      double d = r.s == 0 ? static_cast<double>(x) : static_cast<double>(x) * static_cast<double>(f);
      d = MaxSse(-2147483648.0, MinSse(2147483647.0, d));
      return std::isnan(d) ? kIndefinite : static_cast<int32_t>(HalfAway(d));
    }
    if (y > 2147483520.0f) return INT32_MAX;
    return Cvt32(MinSse(2147483520.0f, MaxSse(-2147483648.0f, y)), rd);
  }
  // Every other class corrects the indefinite value of a lane at or above 2^31 (or a NaN with the sign clear).
  auto masked = [](int32_t converted, float value) { return Bits(value) > 0x4EFFFFFF ? ~converted : converted; };
  if (ha) {
    if (std::isnan(y)) {
      const bool negative = std::isnan(x) ? std::signbit(x) : std::signbit(y);
      return negative ? INT32_MIN : INT32_MAX;
    }
    return Saturate32(HalfAway(std::isinf(y) ? std::copysign(1e300, y) : y));
  }
  if (r.cls == 2) {
    int32_t v = Cvt32(y, rd);
    if (v == INT32_MIN) {
      const int32_t b = Bits(x);
      if (b > 0x7F800000) {
        v = 0;
      } else if (b >= 0) {
        v = INT32_MAX;
      }
    }
    return v;
  }
  const int32_t v = masked(Cvt32(y, rd), y);
  if ((r.cls == 1 || r.cls == 3 || r.cls == 4) && std::isnan(x)) return 0;
  return v;
}

// ----- double -> int32 ------------------------------------------------------
inline double FactorF64ToI32(const Road& r) {
  if (IsHalfAway(r.mode) || r.cls == 0 || r.cls == 1 || r.cls == 3 || r.cls == 4) {
    return static_cast<double>(HalvingFactor(r.s, r.callerRc));
  }
  return ExponentFactor64(r.s);
}

inline int32_t ModelF64ToI32(const Road& r, double x) {
  const double y = r.s == 0 ? x : x * FactorF64ToI32(r);
  const Rounding rn = (r.cls == 0 || r.cls == 4) ? FromRc(r.callerRc) : Rounding::kNearestEven;
  const Rounding rd = r.mode == 1 ? rn : Rounding::kTowardZero;
  if (IsHalfAway(r.mode)) {
    if (r.cls == 0) {
      const double c = MaxSse(-2147483648.0, MinSse(2147483647.0, y));
      return std::isnan(c) ? kIndefinite : static_cast<int32_t>(HalfAway(c));
    }
    const double c = MinSse(y, 2147483647.0);
    return Saturate32(HalfAway(c == -INFINITY ? -1e300 : c));
  }
  if (r.cls == 0 || r.cls == 4) return Cvt32(MaxSse(-2147483648.0, MinSse(2147483647.0, y)), rd);
  if (r.cls == 1 || r.cls == 3) return std::isnan(x) ? 0 : Cvt32(MinSse(y, 2147483647.0), rd);
  if (r.cls == 2) {
    int32_t v = Cvt32(y, rd);
    if (v == INT32_MIN && !std::signbit(x)) v = std::isnan(x) ? 0 : INT32_MAX;
    return v;
  }
  return Cvt32(MinSse(2147483647.0, y), rd);
}

// Roads that never touch the register: an invalid-operation flag raised by a
// NaN stays raised after the call. Every other road gives the caller's flag back.
enum class Member { kF32ToI16, kF32ToI32, kF64ToI32 };
inline bool LeavesInvalidRaised(Member m, int cls, int mode) {
  if (cls == 0) return true;
  return m == Member::kF64ToI32 && cls == 4 && !IsHalfAway(mode);
}

}  // namespace lv_test::convert_model
