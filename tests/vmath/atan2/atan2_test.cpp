// The arctangent kernels of every class: golden values, the scalar models bit
// for bit, accuracy against long double, the special-value routines, and the
// kernel contract (statuses, bounds, aliasing, floating-point environment).
#include <xmmintrin.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>
#include "../x87_flags.h"

#include "atan2_checks.h"
#include "atan2_model.h"
#include "atan2_test_support.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using namespace lv_test_atan2;

class Atan2Test : public lv_test::PerClassTest {
 protected:
  float One(float y, float x) {
    float r = 0;
    EXPECT_EQ(StubOfClass(Cls())(&y, &x, &r, 1), 0);
    return r;
  }
};

// ---- golden values --------------------------------------------------------

struct Golden {
  uint32_t y;
  uint32_t x;
  uint32_t result;
  uint8_t classes;  // bit k: holds in class k
};

constexpr uint8_t kAll = 0xFF;
constexpr uint8_t kQuot = 0xFE;   // classes 1 to 7
constexpr uint8_t kUnf = 0x1E;    // classes 1 to 4
constexpr uint8_t kFused = 0xE0;  // classes 5 to 7

const Golden kGolden[] = {
    {0x3F800000u, 0x3F800000u, 0x3F490FDBu, 0x01},  // atan2(1, 1), baseline
    {0x3F800000u, 0x3F800000u, 0x3F490FDAu, kQuot},
    {0x3F800000u, 0xBF800000u, 0x4016CBE4u, kAll},   // atan2(1, -1)
    {0xBF800000u, 0xBF800000u, 0xC016CBE4u, kAll},   // atan2(-1, -1)
    {0x3FC00000u, 0x3F800000u, 0x3F7B985Eu, 0x01},   // atan2(1.5, 1) on the fast path
    {0x00C00000u, 0x00800000u, 0x3F7B985Fu, kAll},   // atan2(1.5*2^-126, 2^-126): special routine
    {0x00000000u, 0x00000000u, 0x00000000u, kAll},   // atan2(+0, +0)
    {0x80000000u, 0x00000000u, 0x80000000u, kAll},   // atan2(-0, +0)
    {0x00000000u, 0x80000000u, 0x40490FDBu, kAll},   // atan2(+0, -0)
    {0x80000000u, 0x80000000u, 0xC0490FDBu, kAll},   // atan2(-0, -0)
    {0x00000000u, 0xBF800000u, 0x40490FDBu, kAll},   // atan2(+0, -1)
    {0x80000000u, 0xBF800000u, 0xC0490FDBu, kAll},   // atan2(-0, -1)
    {0x3F800000u, 0x00000000u, 0x3FC90FDBu, kAll},   // atan2(1, +0)
    {0x3F800000u, 0x80000000u, 0x3FC90FDBu, kAll},   // atan2(1, -0)
    {0xBF800000u, 0x00000000u, 0xBFC90FDBu, kAll},   // atan2(-1, +0)
    {0xBF800000u, 0x80000000u, 0xBFC90FDBu, kAll},   // atan2(-1, -0)
    {0x7F800000u, 0x7F800000u, 0x3F490FDBu, kAll},   // atan2(+inf, +inf)
    {0xFF800000u, 0x7F800000u, 0xBF490FDBu, kAll},   // atan2(-inf, +inf)
    {0x7F800000u, 0xFF800000u, 0x4016CBE4u, kAll},   // atan2(+inf, -inf)
    {0xFF800000u, 0xFF800000u, 0xC016CBE4u, kAll},   // atan2(-inf, -inf)
    {0x7F800000u, 0x40A00000u, 0x3FC90FDBu, kAll},   // atan2(+inf, 5)
    {0xFF800000u, 0x40A00000u, 0xBFC90FDBu, kAll},   // atan2(-inf, 5)
    {0x40A00000u, 0x7F800000u, 0x00000000u, kAll},   // atan2(5, +inf)
    {0x40A00000u, 0xFF800000u, 0x40490FDBu, kAll},   // atan2(5, -inf)
    {0x000116C2u, 0x3F800000u, 0x000116C2u, kAll},   // subnormal y: y itself
    {0x3F800000u, 0x00080000u, 0x3FC90FDBu, kAll},   // atan2(1, 2^-130)
    {0x00080000u, 0x3F800000u, 0x00080000u, kAll},   // atan2(2^-130, 1)
    {0x7D800000u, 0x7D800000u, 0x3F490FDBu, kAll},   // atan2(2^124, 2^124)
    {0x01000000u, 0x01000000u, 0x3F490FDAu, kQuot},  // atan2(v, v), v = 2^-125
    {0x7CFFFFFFu, 0x7CFFFFFFu, 0x3F490FDAu, kQuot},  // v = 2^123 - ulp
    {0x81000000u, 0x81000000u, 0xC016CBE4u, kQuot},  // atan2(-v, -v)
    {0xFCFFFFFFu, 0xFCFFFFFFu, 0xC016CBE4u, kQuot},
    {0x7D000000u, 0x7D000000u, 0x3F490FDBu, kAll},   // v = 2^123: special
    {0x00800000u, 0x00800000u, 0x3F490FDBu, kAll},   // v = 2^-126: special
    {0x40400000u, 0x40800000u, 0x3F24BC7Du, kUnf},   // atan2(3, 4)
    {0x40400000u, 0x40800000u, 0x3F24BC7Eu, kFused},
    {0x40800000u, 0x40400000u, 0x3F6D6339u, kUnf},   // atan2(4, 3)
    {0x40800000u, 0x40400000u, 0x3F6D6338u, kFused},
    {0x3F800000u, 0x40000000u, 0x3EED6339u, kQuot},  // atan2(1, 2)
    {0x40000000u, 0x3F800000u, 0x3F8DB70Du, kQuot},  // atan2(2, 1)
};

TEST_P(Atan2Test, GoldenValues) {
  int checked = 0;
  for (const Golden& g : kGolden) {
    if ((g.classes >> Cls() & 1) == 0) {
      continue;
    }
    ++checked;
    const float r = One(Bits(g.y), Bits(g.x));
    EXPECT_EQ(BitsOf(r), g.result) << std::hex << "atan2(0x" << g.y << ", 0x" << g.x << ") = 0x" << BitsOf(r);
  }
  EXPECT_GT(checked, 20);
}

TEST_P(Atan2Test, NaNOperandsGiveTheirQuietNaN) {
  const uint32_t yNaN = 0x7FA00001u;  // signalling
  const uint32_t xNaN = 0xFF800123u;  // signalling, negative
  EXPECT_EQ(BitsOf(One(Bits(yNaN), 1.0f)), yNaN | 0x00400000u);
  EXPECT_EQ(BitsOf(One(Bits(yNaN), Bits(xNaN))), yNaN | 0x00400000u);
  EXPECT_EQ(BitsOf(One(2.0f, Bits(xNaN))), xNaN | 0x00400000u);
  EXPECT_EQ(BitsOf(One(0.0f, Bits(0x7FC00000u))), 0x7FC00000u);
  EXPECT_EQ(BitsOf(One(Bits(0x7F800000u), Bits(0x7FC00000u))), 0x7FC00000u);
}

// ---- scalar model, bit for bit ------------------------------------------

TEST_P(Atan2Test, EqualsScalarModelOnRandomPairs) { CompareWithModel(Cls(), 1L << 20, 0x5EED0000u + Cls()); }

TEST_P(Atan2Test, EqualsScalarModelOnFastRangeEdges) {
  const uint32_t edges[] = {0x01000000u, 0x01000001u, 0x017FFFFFu, 0x01800000u, 0x3F7FFFFFu, 0x3F800000u, 0x3F800001u,
                            0x7C7FFFFFu, 0x7C800000u, 0x7CFFFFFEu, 0x7CFFFFFFu, 0x00FFFFFFu, 0x7D000000u, 0x00800000u,
                            0x00000001u, 0x7F7FFFFFu, 0x7F800000u, 0x7FC00000u, 0x00000000u};
  std::vector<float> ys, xs;
  for (uint32_t a : edges) {
    for (uint32_t b : edges) {
      for (uint32_t s = 0; s < 4; ++s) {
        ys.push_back(Bits(a | ((s & 1) << 31)));
        xs.push_back(Bits(b | ((s >> 1) << 31)));
      }
    }
  }
  std::vector<float> r(ys.size());
  ASSERT_EQ(StubOfClass(Cls())(ys.data(), xs.data(), r.data(), static_cast<int32_t>(ys.size())), 0);
  for (size_t i = 0; i < ys.size(); ++i) {
    const float m = ModelAtan2(Cls(), ys[i], xs[i]);
    if (std::isnan(m)) {
      EXPECT_EQ(BitsOf(r[i]), BitsOf(m));
    } else {
      EXPECT_EQ(BitsOf(r[i]), BitsOf(m)) << std::hex << BitsOf(ys[i]) << " " << BitsOf(xs[i]);
    }
  }
}

// ---- accuracy against long double --------------------------------------

TEST_P(Atan2Test, AccuracyAgainstLongDouble) {
  const int64_t worst = MaxUlpAgainstLongDouble(Cls(), 1000000, 0xACC0u + Cls());
  EXPECT_LE(worst, UlpBoundOfClass(Cls()));
  std::printf("worst %lld ulp\n", static_cast<long long>(worst));
}

// ---- special-value routine ---------------------------------------------

TEST_P(Atan2Test, SpecialValueRoutineIsCorrectlyRounded) {
  PairGenerator gen(0x5BEC0000u + Cls());
  const SpecialFn special = SpecialOfClass(Cls());
  long offByOne = 0;
  for (long i = 0; i < 1000000; ++i) {
    float y, x;
    SpecialPair(gen, y, x);
    float r = 0;
    ASSERT_EQ(special(&y, &x, &r), 0);
    const float ref = static_cast<float>(std::atan2(static_cast<long double>(y), static_cast<long double>(x)));
    if (BitsOf(r) != BitsOf(ref)) {
      const int64_t d = UlpDistance(r, ref);
      ASSERT_LE(d, 1) << std::hexfloat << "atan2(" << y << ", " << x << ") = " << r << ", expected " << ref;
      ++offByOne;
    }
  }
  EXPECT_LE(offByOne, 5);
  std::printf("off by one: %ld\n", offByOne);
}

// ---- the kernel contract ------------------------------------------------

TEST_P(Atan2Test, ArgumentChecksComeFirstAndWriteNothing) {
  const Atan2Float32Kernel stub = StubOfClass(Cls());
  float y[4] = {1, 2, 3, 4}, x[4] = {1, 1, 1, 1};
  float d[4] = {7, 7, 7, 7};
  EXPECT_EQ(stub(y, x, d, 0), -6);
  EXPECT_EQ(stub(y, x, d, -5), -6);
  EXPECT_EQ(stub(nullptr, nullptr, nullptr, 0), -6);
  EXPECT_EQ(stub(nullptr, x, d, 4), -8);
  EXPECT_EQ(stub(y, nullptr, d, 4), -8);
  EXPECT_EQ(stub(y, x, nullptr, 4), -8);
  for (float v : d) {
    EXPECT_EQ(v, 7.0f);
  }
}

TEST_P(Atan2Test, CountsAndOffsetsWriteOnlyTheirElements) {
  // dst ends at a guard page; every count 1..40 at every 4-byte offset of y
  // from a 32-byte boundary; results equal single-element calls.
  PairGenerator gen(0x0FF5u);
  std::vector<float> ys(48), xs(48);
  for (int i = 0; i < 48; ++i) {
    gen.Next(ys[i], xs[i]);
  }
  ys[5] = 0.0f;                   // a zero lane
  xs[9] = Bits(0x7F800000u);      // an infinite lane
  ys[17] = Bits(0x00000123u);     // a subnormal lane
  xs[30] = Bits(0x7FC00000u);     // a NaN lane
  lv_test::SweepOffsetsAndCounts(7, 40, [&](int offset, int count) {
    alignas(64) float yBuf[64];
    alignas(64) float xBuf[64];
    std::memcpy(yBuf + offset, ys.data(), count * sizeof(float));
    std::memcpy(xBuf + (7 - offset), xs.data(), count * sizeof(float));
    lv_test::GuardedBuffer out(count * sizeof(float));
    lv_test::CanaryBuffer canary(count * sizeof(float), (offset * 4) % 64);
    float* dst = reinterpret_cast<float*>(canary.region());
    ASSERT_EQ(StubOfClass(Cls())(yBuf + offset, xBuf + (7 - offset), out.as<float>(), count), 0);
    ASSERT_EQ(StubOfClass(Cls())(yBuf + offset, xBuf + (7 - offset), dst, count), 0);
    ASSERT_TRUE(canary.CanariesIntact()) << "offset " << offset << " count " << count;
    for (int i = 0; i < count; ++i) {
      const float single = One(ys[i], xs[i]);
      ASSERT_EQ(BitsOf(out.as<float>()[i]), BitsOf(single)) << "offset " << offset << " count " << count << " i " << i;
      ASSERT_EQ(BitsOf(dst[i]), BitsOf(single));
    }
  });
}

TEST_P(Atan2Test, DestinationMayBeEitherSource) {
  PairGenerator gen(0xA11A5u);
  constexpr int kN = 203;
  std::vector<float> y(kN), x(kN), expected(kN);
  for (int i = 0; i < kN; ++i) {
    gen.Next(y[i], x[i]);
  }
  y[100] = 0.0f;
  x[150] = Bits(0x00000042u);
  ASSERT_EQ(StubOfClass(Cls())(y.data(), x.data(), expected.data(), kN), 0);
  std::vector<float> inY = y;
  ASSERT_EQ(StubOfClass(Cls())(inY.data(), x.data(), inY.data(), kN), 0);
  std::vector<float> inX = x;
  ASSERT_EQ(StubOfClass(Cls())(y.data(), inX.data(), inX.data(), kN), 0);
  for (int i = 0; i < kN; ++i) {
    EXPECT_EQ(BitsOf(inY[i]), BitsOf(expected[i])) << i;
    EXPECT_EQ(BitsOf(inX[i]), BitsOf(expected[i])) << i;
  }
}

TEST_P(Atan2Test, MixedBlockKeepsFastLanesAndStatusZero) {
  constexpr int kN = 64;
  std::vector<float> y(kN), x(kN), r(kN);
  PairGenerator gen(0xB10Cu);
  for (int i = 0; i < kN; ++i) {
    gen.Next(y[i], x[i]);
  }
  const float inf = Bits(0x7F800000u);
  y[1] = 0.0f; x[1] = 1.0f;
  y[3] = -0.0f; x[3] = -0.0f;
  y[6] = 1.0f; x[6] = 0.0f;
  y[7] = inf; x[7] = inf;
  y[12] = -inf; x[12] = inf;
  y[13] = Bits(0x7FC00000u);
  x[21] = Bits(0x7FC00000u);
  y[40] = Bits(0x00000001u);
  ASSERT_EQ(StubOfClass(Cls())(y.data(), x.data(), r.data(), kN), 0);
  for (int i = 0; i < kN; ++i) {
    const float m = ModelAtan2(Cls(), y[i], x[i]);
    EXPECT_EQ(BitsOf(r[i]), BitsOf(m)) << i;
    if (!IsSpecialLane(y[i], x[i])) {
      EXPECT_EQ(BitsOf(r[i]), BitsOf(ModelFast(RuleOfClass(Cls()), y[i], x[i]))) << i;
    }
  }
  EXPECT_EQ(BitsOf(r[1]), 0u);
  EXPECT_EQ(BitsOf(r[3]), 0xC0490FDBu);
  EXPECT_EQ(BitsOf(r[6]), 0x3FC90FDBu);
  EXPECT_EQ(BitsOf(r[7]), 0x3F490FDBu);
  EXPECT_EQ(BitsOf(r[12]), 0xBF490FDBu);
  EXPECT_TRUE(std::isnan(r[13]));
  EXPECT_TRUE(std::isnan(r[21]));
}

TEST_P(Atan2Test, FloatingPointEnvironment) {
  const unsigned saved = _mm_getcsr();
  float y[8] = {0.0f, 1.0f, Bits(0x7F800000u), Bits(0x7FC00000u), 1e-40f, 3.0f, -0.0f, Bits(0x7FA00000u)};
  float x[8] = {0.0f, 0.0f, Bits(0x7F800000u), 1.0f, 1.0f, 1e30f, -1.0f, 2.0f};
  float r[8];
  // Usual register: all masked, flags clear: the call leaves the five flags clear.
  _mm_setcsr(0x1F80u);
  ASSERT_EQ(StubOfClass(Cls())(y, x, r, 8), 0);
  EXPECT_EQ(_mm_getcsr() & 0x1Fu, 0u) << std::hex << _mm_getcsr();
  EXPECT_EQ(_mm_getcsr() & ~0x3Fu, 0x1F80u);
  // Divide-by-zero unmasked, round toward zero, FZ: no trap, register exactly restored.
  const unsigned custom = (0x1F80u & ~0x0200u) | 0x6000u | 0x8000u;
  _mm_setcsr(custom);
  ASSERT_EQ(StubOfClass(Cls())(y, x, r, 8), 0);
  EXPECT_EQ(_mm_getcsr(), custom);
  // Precision flag raised before the call, all masked: it stays.
  _mm_setcsr(0x1F80u | 0x20u | 0x01u);
  ASSERT_EQ(StubOfClass(Cls())(y, x, r, 8), 0);
  EXPECT_EQ(_mm_getcsr(), 0x1F80u | 0x20u);
  _mm_setcsr(saved);
}

// x87 exception flags raised before the call are clear after it.
TEST_P(Atan2Test, X87FlagsSetBeforeTheCallAreClearAfterIt) {
  float y[2] = {1.0f, -1.0f};
  float x[2] = {1.0f, 0.0f};
  float plain[2] = {};
  ASSERT_EQ(StubOfClass(Cls())(y, x, plain, 2), 0);
  for (bool raise : {true, false}) {
    float r[2] = {};
    if (raise) {
      lv_vmath_test::RaiseX87Flags();
      ASSERT_EQ(lv_vmath_test::X87Status() & 0x05u, 0x05u);
    }
    ASSERT_EQ(StubOfClass(Cls())(y, x, r, 2), 0);
    EXPECT_EQ(lv_vmath_test::X87Status() & 0xFFu, 0u) << "raised before: " << raise;
    EXPECT_EQ(BitsOf(r[0]), BitsOf(plain[0]));
    EXPECT_EQ(BitsOf(r[1]), 0xBFC90FDBu);  // -pi/2
  }
}

LV_INSTANTIATE_PER_CLASS(Atan2Test);

// ---- classes against each other ----------------------------------------

TEST(Atan2Classes, UnfusedClassesAgreeBitForBit) {
  for (int cls = 1; cls <= 4; ++cls) {
    if (!IsProcessorClassRunnable(cls)) {
      GTEST_SKIP() << "class " << ProcessorClassSuffix(cls) << " not supported here";
    }
  }
  ExpectUnfusedClassesAgree(16, 0xC1A55u);
}

#if !defined(LV_NATIVE_RCP28)
// The software reciprocal of class 6 is the correctly rounded 1/v on the
// significands the kernel hands it.
TEST(Atan2Classes, SoftwareReciprocal28IsCorrectlyRounded) {
  if (!IsProcessorClassRunnable(6)) {
    GTEST_SKIP() << "class Avx512ManyCore not supported here";
  }
  for (uint32_t b = 0x3F800000u; b < 0x40000000u; b += 977) {
    const float v = Bits(b);
    EXPECT_EQ(BitsOf(Rcp28(v)), BitsOf(static_cast<float>(1.0 / static_cast<double>(v)))) << std::hex << b;
  }
}
#endif

TEST(Atan2Records, StubsReadCellZeroOfTheirRecords) {
  const VmathRecord<Atan2Float32Kernel>* records[8] = {
      &Atan2Float32RecordSse2, &Atan2Float32RecordSse3, &Atan2Float32RecordSsse3, &Atan2Float32RecordSse42,
      &Atan2Float32RecordAvx,  &Atan2Float32RecordAvx2, &Atan2Float32RecordAvx512ManyCore, &Atan2Float32RecordAvx512};
  const Atan2Float32Kernel kernels[8] = {&Atan2Float32KernelSse2,  &Atan2Float32KernelSse3,
                                         &Atan2Float32KernelSsse3, &Atan2Float32KernelSsse3,
                                         &Atan2Float32KernelAvx, &Atan2Float32KernelAvx2,
                                         &Atan2Float32KernelAvx512ManyCore, &Atan2Float32KernelAvx512};
  const float costs[8][3] = {{51.88f, 51.88f, 51.88f}, {28.78f, 64.02f, 23.75f}, {12.61f, 31.11f, 11.10f},
                             {12.29f, 25.18f, 10.18f}, {5.45f, 13.71f, 4.55f},   {3.20f, 6.84f, 2.66f},
                             {2, 3, 1},                {2, 3, 1}};
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(records[c]->variant[0], kernels[c]) << c;
    for (int v = 0; v < 3; ++v) {
      EXPECT_NE(records[c]->variant[v], nullptr);
      EXPECT_EQ(records[c]->cost[v], costs[c][v]);
    }
  }
}

}  // namespace
