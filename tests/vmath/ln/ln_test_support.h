// Shared pieces of the logarithm tests.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ln_model.h"
#include "vmath/ln/ln_classes.h"

namespace lv_test_ln {

inline UnaryFloat32Kernel LnStubOfClass(int cls) {
  static const UnaryFloat32Kernel kStubs[8] = {&LnFloat32StubSse2,  &LnFloat32StubSse3, &LnFloat32StubSsse3,
                                               &LnFloat32StubSse42, &LnFloat32StubAvx,  &LnFloat32StubAvx2,
                                               &LnFloat32StubAvx512ManyCore, &LnFloat32StubAvx512};
  return kStubs[cls];
}

inline float Bits(uint32_t b) { return std::bit_cast<float>(b); }
inline uint32_t BitsOf(float f) { return std::bit_cast<uint32_t>(f); }

inline int64_t UlpDistance(float a, float b) {
  const auto key = [](float f) {
    const int32_t i = std::bit_cast<int32_t>(f);
    return i < 0 ? int64_t{INT32_MIN} - i : int64_t{i};
  };
  const int64_t d = key(a) - key(b);
  return d < 0 ? -d : d;
}

// The ulp bound each class promises (0.53, 1.1, about 4, 1.7 rounded up).
inline int64_t LnUlpBound(int cls) {
  if (cls == 0) return 1;
  if (cls == 1) return 2;
  if (cls >= 6) return 2;
  return 4;
}

// Positive finite inputs: every pattern from 1 to 0x7F7FFFFF equally likely,
// plus a share near 1 where the rules switch paths.
inline float PositiveInput(std::mt19937_64& rng) {
  const uint64_t r = rng();
  if ((r & 7) == 0) {
    return Bits(0x3F700000u + static_cast<uint32_t>((r >> 8) % 0x00200000u));
  }
  return Bits(1 + static_cast<uint32_t>((r >> 8) % 0x7F7FFFFFu));
}

inline void CompareLnWithModel(int cls, long count, uint64_t seed) {
  std::mt19937_64 rng(seed);
  constexpr int kBlock = 4096;
  std::vector<float> x(kBlock), r(kBlock);
  long mismatches = 0;
  for (long done = 0; done < count; done += kBlock) {
    for (int i = 0; i < kBlock; ++i) {
      x[i] = PositiveInput(rng);
      if (i % 512 == 7) x[i] = -x[i];
      if (i % 1024 == 9) x[i] = 0.0f;
    }
    LnStubOfClass(cls)(x.data(), r.data(), kBlock);
    for (int i = 0; i < kBlock; ++i) {
      int32_t code;
      const float m = ModelLn(cls, x[i], &code);
      if (BitsOf(m) != BitsOf(r[i]) && mismatches++ < 10) {
        ADD_FAILURE() << std::hexfloat << "ln(" << x[i] << " = 0x" << std::hex << BitsOf(x[i]) << "): kernel 0x"
                      << BitsOf(r[i]) << ", model 0x" << BitsOf(m) << " (seed " << std::dec << seed << ")";
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

// The worst ulp distance to logl over the patterns first, first+step, ...
inline int64_t LnWorstUlp(int cls, uint32_t first, uint32_t last, uint32_t step) {
  constexpr int kBlock = 4096;
  std::vector<float> x(kBlock), r(kBlock);
  int64_t worst = 0;
  uint64_t p = first;
  while (p <= last) {
    int k = 0;
    for (; k < kBlock && p <= last; ++k, p += step) {
      x[k] = Bits(static_cast<uint32_t>(p));
    }
    LnStubOfClass(cls)(x.data(), r.data(), k);
    for (int i = 0; i < k; ++i) {
      const float ref = static_cast<float>(std::log(static_cast<long double>(x[i])));
      const int64_t d = UlpDistance(r[i], ref);
      if (d > worst) {
        worst = d;
      }
    }
  }
  return worst;
}

}  // namespace lv_test_ln
