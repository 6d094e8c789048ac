// The scalar special-value routine of the arctangent kernels: atan2 of one
// pair of floats whose lanes the vector path cannot take (subnormal, tiny or
// huge magnitudes, infinities, NaNs, zeros), in double-double arithmetic.
//
// Part of the arctangent body (atan2_body.inl), inside the class namespace.
// One algorithm for every class; the classes differ only in how the last sum
// is ordered and (class 5) in fusing the multiplications of the quotient,
// polynomial and cross terms with the addition that follows. The routine is
// never inlined, so a class may compile it under narrower options (class 6
// keeps it to VEX encodings: scalar AVX-512 code could use the registers
// xmm16-31, which need AVX-512 VL).

namespace LV_NS {
namespace {

// How the last sum F = F0 + (...) is formed.
enum class LastSum {
  kE3AlBl,  // F0 + ((e3 + Al) + Bl)
  kBlE3Al,  // F0 + ((Bl + e3) + Al)
};

template <bool kFused>
struct SpecialOps {
  // a * b + c with one rounding (fused classes) or two.
  [[gnu::always_inline]] static inline double MulAdd(double a, double b, double c) {
    if constexpr (kFused) {
      return __builtin_fma(a, b, c);
    } else {
      return a * b + c;
    }
  }
};

[[gnu::always_inline]] inline void Split(double a, double& hi, double& lo) {
  const double p = a * kSplit;
  hi = p - (p - a);
  lo = a - hi;
}

[[gnu::always_inline]] inline void TwoSum(double a, double b, double& s, double& e) {
  s = a + b;
  const double w = b - s;
  e = (a + w) + (b - (s + w));
}

[[gnu::always_inline]] inline double WithSign(double v, uint32_t signBit) {
  return std::bit_cast<double>(std::bit_cast<uint64_t>(v) | (uint64_t{signBit} << 32));
}

// Unbiased exponent of a positive normal double, as a double.
[[gnu::always_inline]] inline double ExponentOf(double v) {
  return static_cast<double>(static_cast<int>((std::bit_cast<uint64_t>(v) >> 52) & 0x7FF) - 1023);
}

// 2^-e for an integer-valued e in the double range.
[[gnu::always_inline]] inline double PowerOfTwoNeg(double e) {
  return std::bit_cast<double>(static_cast<uint64_t>(1023 - static_cast<int>(e)) << 52);
}

template <LastSum kOrder, bool kFused>
[[gnu::noinline]] int32_t SpecialValue(const float* py, const float* px, float* result) {
  using Ops = SpecialOps<kFused>;
  // Multiplying by one quiets a signalling NaN (and flushes a subnormal under
  // the caller's denormals-are-zero setting). volatile keeps the operations.
  volatile float one = 1.0f;
  const float y1 = *py * one;
  const float x1 = *px * one;
  const uint32_t yBits = std::bit_cast<uint32_t>(y1);
  const uint32_t xBits = std::bit_cast<uint32_t>(x1);
  const uint32_t sy = yBits & kSignMask;
  const bool xNegBit = (xBits & kSignMask) != 0;
  const uint32_t ayBits = yBits & kAbsMask;
  const uint32_t axBits = xBits & kAbsMask;

  // NaNs: y1's quiet NaN, else x1's (what y1 + x1 gives on this processor
  // when y1 is the first operand; chosen explicitly, since a compiler may
  // commute the operands of an addition).
  if (ayBits > 0x7F800000u || axBits > 0x7F800000u) {
    *result = ayBits > 0x7F800000u ? y1 : x1;
    return 0;
  }
  const bool yInf = ayBits == 0x7F800000u;
  const bool xInf = axBits == 0x7F800000u;
  double r;
  if (yInf && !xInf) {
    r = kHalfPiHi;
  } else if (yInf && xInf) {
    r = xNegBit ? kThreeQuarterPiHi : kQuarterPiHi;
  } else if (ayBits == 0 || xInf) {
    r = xNegBit ? kPiHiD : 0.0;
  } else if (axBits == 0) {
    r = kHalfPiHi;
  } else {
    const double Y = static_cast<double>(std::bit_cast<float>(ayBits));
    const double X = static_cast<double>(std::bit_cast<float>(axBits));
    const double ey = ExponentOf(Y);
    const double ex = ExponentOf(X);
    const double d = ey - ex;
    const bool xNeg = x1 < 0.0f;
    if (d <= -54.0) {
      if (xNeg) {
        r = kPiHiD;
      } else {
        const double q = Y / X;
        const float f = static_cast<float>(q);
        const uint32_t fe = std::bit_cast<uint32_t>(f) & 0x7F800000u;
        if (fe != 0 && fe != 0x7F800000u) {
          r = q * (1.0 + q);
        } else {
          r = q + static_cast<double>(f * f);
        }
      }
    } else if (d >= 74.0) {
      r = kHalfPiHi;
    } else if (d >= 54.0) {
      r = (kHalfPiLo - static_cast<double>(x1) / Y) + kHalfPiHi;
    } else {
      const double q = Y / X;
      const double scale = PowerOfTwoNeg(ey);
      const double Ys = Y * scale;
      const double Xs = X * scale;
      const double Bh = xNeg ? kPiHiD : 0.0;
      const double Bl = xNeg ? kPiLoD : 0.0;
      double Qh;
      double Ql;
      double z;
      double head = 0.0;
      double tail = 0.0;
      const bool useTable = q >= kSmall;
      if (useTable) {
        const uint64_t qBits = std::bit_cast<uint64_t>(q);
        const uint32_t qHigh = static_cast<uint32_t>(qBits >> 32);
        uint32_t k = (qHigh - 0x3FC00000u) >> 19;
        if (k > 113) {
          k = 113;
        }
        // c = 2^e * (1.25 + 0.5 m): the exponent and first fraction bit of q, then a one.
        const double c = std::bit_cast<double>((static_cast<uint64_t>((qHigh & 0xFFF80000u) | 0x00040000u)) << 32);
        head = std::bit_cast<double>(kAtanBreakpoints[2 * k]);
        tail = std::bit_cast<double>(kAtanBreakpoints[2 * k + 1]);
        // Numerator Ys - c*Xs.
        double Xh, Xl;
        Split(Xs, Xh, Xl);
        const double a = -(c * Xh);
        const double b = -(c * Xl);
        const double Sh = a + b;
        const double Sl = b + (a - Sh);
        double t, er;
        TwoSum(Sh, Ys, t, er);
        double Nh, tl;
        Split(t, Nh, tl);
        const double Nl = (er + Sl) + tl;
        // Denominator Xs + c*Ys.
        double Yh, Yl;
        Split(Ys, Yh, Yl);
        const double u1 = Yh * c;
        const double u2 = Yl * c;
        const double Uh = u1 + u2;
        const double Ul = (u1 - Uh) + u2;
        double v, ev;
        TwoSum(Uh, Xs, v, ev);
        double Dh, vl;
        Split(v, Dh, vl);
        const double Dl = (ev + Ul) + vl;
        // Quotient.
        const double rr = 1.0 / Dh;
        double rh, rlo;
        Split(rr, rh, rlo);
        const double eps = (1.0 - Dh * rh) - Dl * rh;
        const double Rl = ((eps + 1.0) * eps) * rh;
        const double p1 = rh * Nh;
        double Ql0;
        if constexpr (kFused) {
          Ql0 = Ops::MulAdd(rh, Nl, Ops::MulAdd(Nh, Rl, Nl * Rl));
        } else {
          Ql0 = rh * Nl + (Nh * Rl + Nl * Rl);
        }
        Qh = p1 + Ql0;
        Ql = (p1 - Qh) + Ql0;
        z = Qh * Qh;
      } else {
        double Yh, Yl, Xh, Xl;
        Split(Ys, Yh, Yl);
        Split(Xs, Xh, Xl);
        const double rr = 1.0 / Xh;
        double rh, rlo;
        Split(rr, rh, rlo);
        const double eps = (1.0 - Xh * rh) - Xl * rh;
        const double Rl = ((eps + 1.0) * eps) * rh;
        const double p1 = rh * Yh;
        double Ql0;
        if constexpr (kFused) {
          Ql0 = Ops::MulAdd(rh, Yl, Ops::MulAdd(Yh, Rl, Yl * Rl));
        } else {
          Ql0 = rh * Yl + (Yh * Rl + Yl * Rl);
        }
        Qh = p1 + Ql0;
        Ql = (p1 - Qh) + Ql0;
        z = q * q;
      }
      // Polynomial of atan(t)/t - 1 in z = t^2.
      double P;
      if constexpr (kFused) {
        P = Ops::MulAdd(Ops::MulAdd(Ops::MulAdd(Ops::MulAdd(Ops::MulAdd(Ops::MulAdd(kD7, z, kD6), z, kD5), z, kD4), z,
                                                           kD3),
                                               z, kD2),
                                   z, kD1) *
            z;
      } else {
        P = (((((((kD7 * z + kD6) * z + kD5) * z + kD4) * z + kD3) * z + kD2) * z + kD1) * z);
      }
      // Q + Q*P in double-double.
      double Qa, Qb;
      Split(Qh, Qa, Qb);
      const double Qlo = Ql + Qb;
      double Pa, Pb;
      Split(P, Pa, Pb);
      double X3;
      if constexpr (kFused) {
        X3 = Ops::MulAdd(Pb, Qa, Ops::MulAdd(Pa, Qlo, Pb * Qlo));
      } else {
        X3 = (Pb * Qlo + Pa * Qlo) + Pb * Qa;
      }
      double s1, e1;
      TwoSum(Qa, Pa * Qa, s1, e1);
      const double L = (Qlo + e1) + X3;
      double Ah, Al;
      if (useTable) {
        double e2;
        TwoSum(head, s1, Ah, e2);
        Al = (L + e2) + tail;
      } else {
        Ah = s1;
        Al = L;
      }
      if (xNeg) {
        Ah = -Ah;
        Al = -Al;
      }
      double F0, e3;
      TwoSum(Bh, Ah, F0, e3);
      if constexpr (kOrder == LastSum::kE3AlBl) {
        r = F0 + ((e3 + Al) + Bl);
      } else {
        r = F0 + ((Bl + e3) + Al);
      }
    }
  }
  *result = static_cast<float>(WithSign(r, sy));
  return 0;
}

}  // namespace
}  // namespace LV_NS
