// Random data and bit comparisons shared by the arithmetic, sum, square-root
// and magnitude tests.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace lv_test {

inline uint32_t Bits(float x) {
  uint32_t b;
  std::memcpy(&b, &x, 4);
  return b;
}
inline uint64_t Bits(double x) {
  uint64_t b;
  std::memcpy(&b, &x, 8);
  return b;
}
inline float FloatFromBits(uint32_t b) {
  float x;
  std::memcpy(&x, &b, 4);
  return x;
}
inline double DoubleFromBits(uint64_t b) {
  double x;
  std::memcpy(&x, &b, 8);
  return x;
}

// Same bits, or both NaN (which NaN payload survives an operation on two NaNs
// is not fixed).
inline bool SameValue(float a, float b) { return Bits(a) == Bits(b) || (std::isnan(a) && std::isnan(b)); }
inline bool SameValue(double a, double b) { return Bits(a) == Bits(b) || (std::isnan(a) && std::isnan(b)); }

// Floats of random sign, a random exponent in [-emax, emax] and a random
// mantissa: wide enough to make every rounding visible.
class WideRandom {
 public:
  explicit WideRandom(uint32_t seed) : rng_(seed) {}
  float Float(int emax = 40) {
    std::uniform_int_distribution<int> e(-emax, emax);
    std::uniform_int_distribution<uint32_t> m(0, (1u << 23) - 1);
    const float mant = 1.0f + static_cast<float>(m(rng_)) * 0x1p-23f;
    const float v = std::ldexp(mant, e(rng_));
    return (rng_() & 1) ? -v : v;
  }
  double Double(int emax = 300) {
    std::uniform_int_distribution<int> e(-emax, emax);
    std::uniform_int_distribution<uint64_t> m(0, (uint64_t{1} << 52) - 1);
    const double mant = 1.0 + static_cast<double>(m(rng_)) * 0x1p-52;
    const double v = std::ldexp(mant, e(rng_));
    return (rng_() & 1) ? -v : v;
  }
  std::vector<float> Floats(size_t n, int emax = 40) {
    std::vector<float> v(n);
    for (auto& x : v) x = Float(emax);
    return v;
  }
  std::vector<double> Doubles(size_t n, int emax = 300) {
    std::vector<double> v(n);
    for (auto& x : v) x = Double(emax);
    return v;
  }
  uint32_t Next() { return rng_(); }

 private:
  std::mt19937 rng_;
};

}  // namespace lv_test
