// Shared pieces of the arctangent tests: the entry points per class, the
// operand generators and ulp distance.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "vmath/atan2/atan2_classes.h"

namespace lv_test_atan2 {

inline Atan2Float32Kernel StubOfClass(int cls) {
  static const Atan2Float32Kernel kStubs[8] = {&Atan2Float32StubSse2,  &Atan2Float32StubSse3,
                                               &Atan2Float32StubSsse3, &Atan2Float32StubSse42,
                                               &Atan2Float32StubAvx,   &Atan2Float32StubAvx2,
                                               &Atan2Float32StubAvx512ManyCore, &Atan2Float32StubAvx512};
  return kStubs[cls];
}

inline float Bits(uint32_t b) { return std::bit_cast<float>(b); }
inline uint32_t BitsOf(float f) { return std::bit_cast<uint32_t>(f); }

// Distance in units in the last place between two finite floats of the same sign.
inline int64_t UlpDistance(float a, float b) {
  const auto key = [](float f) {
    const int32_t i = std::bit_cast<int32_t>(f);
    return i < 0 ? int64_t{INT32_MIN} - i : int64_t{i};
  };
  const int64_t d = key(a) - key(b);
  return d < 0 ? -d : d;
}

// Operand pairs for the fast path: random magnitudes over the whole fast
// range, ratios clustered around 1 (where the quotient algorithm is weakest),
// ratios near the interval limits of the baseline, and random signs.
class PairGenerator {
 public:
  explicit PairGenerator(uint64_t seed) : rng_(seed) {}

  void Next(float& y, float& x) {
    const uint32_t kind = rng_() % 8;
    float a;
    float b;
    if (kind < 3) {
      // ratio near 1: |log2 ratio| < 2^-k
      a = Magnitude(-40, 40);
      const double ratio = std::exp2(Uniform(-1.0, 1.0) * std::exp2(-static_cast<double>(rng_() % 24)));
      b = static_cast<float>(a * ratio);
    } else if (kind < 5) {
      // near the baseline's limits 0.375, 0.72, 1.75, 2.6875 and their inverses
      static const double kLimits[] = {0.375, 0.72, 1.75, 2.6875, 1 / 0.375, 1 / 0.72, 1 / 1.75, 1 / 2.6875, 0.5, 2.0};
      a = Magnitude(-30, 30);
      const double ratio = kLimits[rng_() % 10] * (1.0 + Uniform(-1e-5, 1e-5));
      b = static_cast<float>(a * ratio);
    } else if (kind < 7) {
      a = Magnitude(-125, 123);
      b = Magnitude(-125, 123);
    } else {
      // random bit patterns inside the fast range
      a = Bits(0x01000000u + static_cast<uint32_t>(rng_() % (0x7D000000u - 0x01000000u)));
      b = Bits(0x01000000u + static_cast<uint32_t>(rng_() % (0x7D000000u - 0x01000000u)));
    }
    y = (rng_() & 1) ? -a : a;
    x = (rng_() & 1) ? -b : b;
  }

  uint32_t Raw() { return static_cast<uint32_t>(rng_()); }

 private:
  double Uniform(double lo, double hi) { return lo + (hi - lo) * (static_cast<double>(rng_() >> 11) * 0x1.0p-53); }
  float Magnitude(int lo, int hi) {
    return static_cast<float>(std::exp2(Uniform(lo, hi)));
  }
  std::mt19937_64 rng_;
};

}  // namespace lv_test_atan2
