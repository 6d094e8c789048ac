// The heavy checks of the arctangent tests, shared by the quick and the
// exhaustive programs (which differ only in the number of samples).
#pragma once

#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "atan2_model.h"
#include "atan2_test_support.h"
#include "support/bits.h"

namespace lv_test_atan2 {

inline void CompareWithModel(int cls, long pairs, uint64_t seed) {
  PairGenerator gen(seed);
  constexpr int kBlock = 4096;
  std::vector<float> y(kBlock), x(kBlock), r(kBlock);
  long mismatches = 0;
  for (long done = 0; done < pairs; done += kBlock) {
    for (int i = 0; i < kBlock; ++i) {
      gen.Next(y[i], x[i]);
    }
    ASSERT_EQ(StubOfClass(cls)(y.data(), x.data(), r.data(), kBlock), 0);
    for (int i = 0; i < kBlock; ++i) {
      const float m = ModelAtan2(cls, y[i], x[i]);
      if (BitsOf(m) != BitsOf(r[i]) && mismatches++ < 10) {
        ADD_FAILURE() << std::hexfloat << "atan2(" << y[i] << ", " << x[i] << "): kernel " << r[i] << ", model " << m
                      << " (seed " << seed << ")";
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

inline int64_t MaxUlpAgainstLongDouble(int cls, long pairs, uint64_t seed) {
  PairGenerator gen(seed);
  constexpr int kBlock = 4096;
  std::vector<float> y(kBlock), x(kBlock), r(kBlock);
  int64_t worst = 0;
  for (long done = 0; done < pairs; done += kBlock) {
    for (int i = 0; i < kBlock; ++i) {
      gen.Next(y[i], x[i]);
    }
    EXPECT_EQ(StubOfClass(cls)(y.data(), x.data(), r.data(), kBlock), 0);
    for (int i = 0; i < kBlock; ++i) {
      const long double exact = std::atan2(static_cast<long double>(y[i]), static_cast<long double>(x[i]));
      const float ref = static_cast<float>(exact);
      if (ref == 0.0f || std::fabs(ref) < 0x1p-126f) {
        continue;  // results in the subnormal range: ulps are not comparable
      }
      const int64_t d = UlpDistance(r[i], ref);
      if (d > worst) {
        worst = d;
      }
    }
  }
  return worst;
}

inline int64_t UlpBoundOfClass(int cls) { return cls == 0 ? 1 : 4; }

// Operands of the special range: tiny, subnormal, huge, mixed with ordinary ones.
inline void SpecialPair(PairGenerator& gen, float& y, float& x) {
  const auto pick = [&](uint32_t r) {
    switch (r % 4) {
      case 0: return Bits(1 + gen.Raw() % 0x00FFFFFFu);                    // subnormal or < 2^-125
      case 1: return Bits(0x7D000000u + gen.Raw() % 0x007FFFFFu);          // huge
      case 2: return Bits(0x01000000u + gen.Raw() % (0x7D000000u - 0x01000000u));  // ordinary
      default: return Bits(0x30000000u + gen.Raw() % 0x1E000000u);         // moderate
    }
  };
  do {
    y = pick(gen.Raw());
    x = pick(gen.Raw());
  } while (!IsSpecialLane(y, x));
  if (gen.Raw() & 1) y = -y;
  if (gen.Raw() & 1) x = -x;
}

// Classes 1 to 4 (the two SSE kernels and the AVX one) give the same bits.
inline void ExpectUnfusedClassesAgree(int rounds, uint64_t seed) {
  PairGenerator gen(seed);
  constexpr int kN = 1 << 16;
  std::vector<float> y(kN), x(kN), a(kN), b(kN);
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < kN; ++i) {
      if (i % 64 == 0) {
        SpecialPair(gen, y[i], x[i]);
      } else {
        gen.Next(y[i], x[i]);
      }
    }
    ASSERT_EQ(Atan2Float32KernelSse3(y.data(), x.data(), a.data(), kN), 0);
    ASSERT_EQ(Atan2Float32KernelSsse3(y.data(), x.data(), b.data(), kN), 0);
    ASSERT_TRUE(lv_test::SameBits(a.data(), b.data(), kN));
    ASSERT_EQ(Atan2Float32KernelAvx(y.data(), x.data(), b.data(), kN), 0);
    ASSERT_TRUE(lv_test::SameBits(a.data(), b.data(), kN));
  }
}

}  // namespace lv_test_atan2
