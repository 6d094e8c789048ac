// The double-precision special-value routine of the logarithm kernels of
// classes 2 to 7: one float in, its logarithm and special-value code out.
// Part of the logarithm body (ln_body.inl), inside the class namespace.
// One algorithm; the classes differ in the order of the final sums and (class
// 5) in fused multiply-adds. Never inlined, so a class may compile it under
// narrower options (class 6 keeps it to VEX encodings).

namespace LV_NS {
namespace {

enum class LnSpecialForm {
  kPlain,     // classes 2 to 4: (((q + high) + low) + r) + r2
  kWide,      // classes 6 and 7: (r + high) + ((r2 + low) + q (w w))
  kFused,     // class 5: fused steps, (r + high) + fma(q, w w, r2 + low)
};

template <LnSpecialForm kForm>
[[gnu::noinline]] int32_t LnSpecialValue(const float* px, float* result) {
  constexpr bool kFma = kForm == LnSpecialForm::kFused;
  const auto madd = [](double a, double b, double c) {
    if constexpr (kFma) {
      return __builtin_fma(a, b, c);
    } else {
      return a * b + c;
    }
  };
  const float x = *px;
  const uint32_t u = std::bit_cast<uint32_t>(x);
  if ((u & 0x7F800000u) == 0x7F800000u) {
    if (u == 0xFF800000u) {
      volatile double zero = 0.0;
      *result = static_cast<float>(zero / zero);
      return kVmathCodeDomain;
    }
    volatile float xv = x;
    *result = xv * xv;
    return 0;
  }
  const double d = static_cast<double>(x);
  if (d == 0.0) {
    volatile double zero = 0.0;
    *result = static_cast<float>(-1.0 / zero);
    return kVmathCodeSingularity;
  }
  if (d < 0.0) {
    volatile double zero = 0.0;
    *result = static_cast<float>(zero / zero);
    return kVmathCodeDomain;
  }
  const double dm1 = d - 1.0;
  if ((dm1 < 0.0 ? -dm1 : dm1) <= kNearOne) {
    const double uu = dm1;
    double q = kD8;
    q = madd(q, uu, kD7);
    q = madd(q, uu, kD6);
    q = madd(q, uu, kD5);
    q = madd(q, uu, kD4);
    q = madd(q, uu, kD3);
    q = madd(q, uu, kD2);
    *result = static_cast<float>(madd(q, uu * uu, uu));
    return 0;
  }
  const uint64_t db = std::bit_cast<uint64_t>(d);
  const double E = static_cast<double>(static_cast<int>((db >> 52) & 0x7FF) - 1023);
  const double m = std::bit_cast<double>((db & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull);
  const int j = static_cast<int>(std::bit_cast<uint64_t>(m + kIndexShifter) & 0x7F);
  const double mh = (m + kSplitShifter) - kSplitShifter;
  const double ml = m - mh;
  const double rcp = std::bit_cast<double>(kLnTableDouble[3 * j]);
  const double hi = std::bit_cast<double>(kLnTableDouble[3 * j + 1]);
  const double lo = std::bit_cast<double>(kLnTableDouble[3 * j + 2]);
  const double high = madd(E, kLn2HiD, hi);
  const double low = madd(E, kLn2LoD, lo);
  const double r = madd(mh, rcp, -1.0);
  const double r2 = rcp * ml;
  const double w = r + r2;
  double q = kD8;
  q = madd(q, w, kD7);
  q = madd(q, w, kD6);
  q = madd(q, w, kD5);
  q = madd(q, w, kD4);
  q = madd(q, w, kD3);
  q = madd(q, w, kD2);
  double res;
  if constexpr (kForm == LnSpecialForm::kPlain) {
    q = q * (w * w);
    res = (((q + high) + low) + r) + r2;
  } else if constexpr (kForm == LnSpecialForm::kWide) {
    res = (r + high) + ((r2 + low) + q * (w * w));
  } else {
    res = (r + high) + __builtin_fma(q, w * w, r2 + low);
  }
  *result = static_cast<float>(res);
  return 0;
}

}  // namespace
}  // namespace LV_NS
