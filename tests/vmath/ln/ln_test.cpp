// The logarithm kernels of every class and the logarithm primitive: golden
// values, the scalar models bit for bit, accuracy against long double, the
// special-value routine, statuses and the kernel contract.
#include <xmmintrin.h>

#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>
#include "../x87_flags.h"

#include "ln_test_support.h"
#include "primitives/logarithm/logarithm.h"
#include "vmath/ln/ln_constants.h"
#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using namespace lv_test_ln;

class LnTest : public lv_test::PerClassTest {
 protected:
  float One(float x, int32_t* status = nullptr) {
    float r = 0;
    const int32_t s = LnStubOfClass(Cls())(&x, &r, 1);
    if (status != nullptr) *status = s;
    return r;
  }
};

struct Golden {
  uint32_t x;
  uint32_t result;
  int32_t status;
  uint8_t classes;
};

constexpr uint8_t kAll = 0xFF;
constexpr uint8_t kBase = 0x03;  // classes 0 and 1
constexpr uint8_t kPoly = 0x3C;  // classes 2 to 5
constexpr uint8_t kSeg = 0xC0;   // classes 6 and 7

// The codes are fixed numbers of the kernel contract, whatever their names.
static_assert(kVmathCodeSingularity == 18 && kVmathCodeDomain == 19);

const Golden kGolden[] = {
    {0x3F800000u, 0x00000000u, 0, kAll},   // ln 1
    {0x40000000u, 0x3F317218u, 0, kAll},   // ln 2
    {0x3F000000u, 0xBF317218u, 0, kBase},  // ln 0.5
    {0x41200000u, 0x40135D8Eu, 0, kBase},  // ln 10
    {0x402DF854u, 0x3F7FFFFFu, 0, kBase},  // ln e
    {0x3F7E0000u, 0xBC0080ACu, 0, 0x01},   // the class-0 near-one band
    {0x3F7E0001u, 0xBC00806Bu, 0, 0x01},
    {0x3F81FFFFu, 0x3C7E04C8u, 0, 0x01},
    {0x3F820000u, 0x3C7E0546u, 0, 0x01},
    {0x00000001u, 0xC2CE8ED0u, 0, kAll},   // smallest subnormal
    {0x007FFFFFu, 0xC2AEAC50u, 0, kBase},  // largest subnormal
    {0x00400000u, 0xC2B00F34u, 0, kPoly | kSeg},
    {0x7F7FFFFFu, 0x42B17218u, 0, kBase},  // largest float
    {0x00000000u, 0xFF800000u, kVmathCodeSingularity, kAll},
    {0x80000000u, 0xFF800000u, kVmathCodeSingularity, kAll},
    {0xBF800000u, 0x7FFC0000u, kVmathCodeDomain, 0x01},
    {0x80000001u, 0x7FFC0000u, kVmathCodeDomain, 0x01},
    {0xFF800000u, 0x7FFC0000u, kVmathCodeDomain, 0x01},
    {0xBF800000u, 0xFFC00000u, kVmathCodeDomain, 0xFE},
    {0x80000001u, 0xFFC00000u, kVmathCodeDomain, 0xFE},
    {0xFF800000u, 0xFFC00000u, kVmathCodeDomain, 0xFE},
    {0x7F800000u, 0x7F800000u, 0, kAll},
    {0x7FA00000u, 0x7FA00000u, 0, 0x01},   // signalling NaN: unchanged in class 0
    {0x7FA00000u, 0x7FE00000u, 0, 0xFE},   // made quiet elsewhere
    {0xFFC00001u, 0xFFC00001u, 0, kAll},
    {0x3F626CFFu, 0xBDFB69C4u, 0, kPoly},
    {0x3F626CFFu, 0xBDFB69C0u, 0, kSeg},
    {0x3FC00000u, 0x3ECF9921u, 0, kPoly},  // ln 1.5
    {0x3FC00000u, 0x3ECF991Fu, 0, kSeg},
    {0x3F4992C9u, 0xBE74C2B0u, 0, kPoly},
    {0x3F4992C9u, 0xBE74C2B1u, 0, kSeg},
};

TEST_P(LnTest, GoldenValues) {
  int checked = 0;
  for (const Golden& g : kGolden) {
    if ((g.classes >> Cls() & 1) == 0) {
      continue;
    }
    ++checked;
    int32_t status;
    const float r = One(Bits(g.x), &status);
    EXPECT_EQ(BitsOf(r), g.result) << std::hex << "ln(0x" << g.x << ") = 0x" << BitsOf(r);
    EXPECT_EQ(status, g.status) << std::hex << "ln(0x" << g.x << ")";
  }
  EXPECT_GE(checked, 12);
}

TEST_P(LnTest, EqualsScalarModel) { CompareLnWithModel(Cls(), 1L << 20, 0x1A0000u + Cls()); }

TEST_P(LnTest, AccuracyAgainstLongDouble) {
  // 2^24 patterns spread over every positive finite float.
  const int64_t worst = LnWorstUlp(Cls(), 1, 0x7F7FFFFFu, 0x7F7FFFFFu >> 24);
  std::printf("worst %lld ulp\n", static_cast<long long>(worst));
  EXPECT_LE(worst, LnUlpBound(Cls()));
}

// Classes 0 and 1 have no double routine.
class LnSpecialRoutineTest : public LnTest {};

TEST_P(LnSpecialRoutineTest, SpecialValueRoutineIsCorrectlyRounded) {
  const LnSpecialFn special = LnSpecialOfClass(Cls());
  ASSERT_NE(special, nullptr);
  std::mt19937_64 rng(0x5BE11u + Cls());
  long off = 0;
  for (int i = 0; i < 1000000; ++i) {
    const uint64_t r = rng();
    // Subnormals, and inputs near 1 (both sides of the near-one switch).
    const float x = (r & 1) ? Bits(1 + static_cast<uint32_t>((r >> 8) % 0x007FFFFFu))
                            : Bits(0x3F700000u + static_cast<uint32_t>((r >> 8) % 0x00200000u));
    float res;
    ASSERT_EQ(special(&x, &res), 0);
    const float ref = static_cast<float>(std::log(static_cast<long double>(x)));
    if (BitsOf(res) != BitsOf(ref)) {
      ASSERT_LE(UlpDistance(res, ref), 1) << std::hex << BitsOf(x);
      ++off;
    }
  }
  EXPECT_LE(off, 5);
}

TEST_P(LnTest, StatusIsTheLastSpecialElement) {
  const UnaryFloat32Kernel stub = LnStubOfClass(Cls());
  float r[9];
  const float zeroNeg[2] = {0.0f, -1.0f};
  EXPECT_EQ(stub(zeroNeg, r, 2), kVmathCodeDomain);
  const float negZero[2] = {-1.0f, 0.0f};
  EXPECT_EQ(stub(negZero, r, 2), kVmathCodeSingularity);
  float nine[9] = {-2.0f, 1, 2, 3, 4, 5, 6, 7, -3.0f};
  ASSERT_EQ(stub(nine, r, 9), kVmathCodeDomain);
  for (int i = 1; i < 8; ++i) {
    EXPECT_EQ(BitsOf(r[i]), BitsOf(One(nine[i]))) << i;
  }
  EXPECT_TRUE(std::isnan(r[0]));
  EXPECT_TRUE(std::isnan(r[8]));
  // A zero inside a block of ordinary data changes nothing else.
  std::vector<float> data(64), plain(64), withZero(64);
  for (int i = 0; i < 64; ++i) data[i] = 0.37f * static_cast<float>(i + 1);
  ASSERT_EQ(stub(data.data(), plain.data(), 64), 0);
  data[21] = 0.0f;
  ASSERT_EQ(stub(data.data(), withZero.data(), 64), kVmathCodeSingularity);
  for (int i = 0; i < 64; ++i) {
    if (i != 21) {
      EXPECT_EQ(BitsOf(withZero[i]), BitsOf(plain[i])) << i;
    }
  }
  EXPECT_EQ(BitsOf(withZero[21]), 0xFF800000u);
}

// x87 exception flags raised before the call are clear after it.
TEST_P(LnTest, X87FlagsSetBeforeTheCallAreClearAfterIt) {
  float src[2] = {1.0f, 4.0f};
  for (bool raise : {true, false}) {
    float dst[2] = {7.0f, 7.0f};
    if (raise) {
      lv_vmath_test::RaiseX87Flags();
      ASSERT_EQ(lv_vmath_test::X87Status() & 0x05u, 0x05u);
    }
    EXPECT_EQ(LnStubOfClass(Cls())(src, dst, 2), 0);
    EXPECT_EQ(lv_vmath_test::X87Status() & 0xFFu, 0u) << "raised before: " << raise;
    EXPECT_EQ(dst[0], 0.0f);
  }
}

TEST_P(LnTest, ArgumentChecks) {
  const UnaryFloat32Kernel stub = LnStubOfClass(Cls());
  float src[2] = {1, 2};
  float dst[2] = {7, 7};
  EXPECT_EQ(stub(src, dst, 0), -6);
  EXPECT_EQ(stub(src, dst, -3), -6);
  EXPECT_EQ(stub(nullptr, dst, 2), -8);
  EXPECT_EQ(stub(src, nullptr, 2), -8);
  // Classes 0 and 1 test the pointers first, classes 2 to 7 the count.
  EXPECT_EQ(stub(src, nullptr, 0), Cls() <= 1 ? -8 : -6);
  EXPECT_EQ(dst[0], 7.0f);
  EXPECT_EQ(dst[1], 7.0f);
}

TEST_P(LnTest, CountsAndOffsetsWriteOnlyTheirElements) {
  std::mt19937_64 rng(0x0FF5u);
  std::vector<float> xs(48);
  for (float& v : xs) v = PositiveInput(rng);
  xs[2] = 0.0f;
  xs[11] = -4.0f;
  xs[19] = Bits(0x00000321u);
  xs[33] = Bits(0x7FC00000u);
  lv_test::SweepOffsetsAndCounts(7, 40, [&](int offset, int count) {
    alignas(64) float buf[64];
    std::memcpy(buf + offset, xs.data(), count * sizeof(float));
    lv_test::GuardedBuffer out(count * sizeof(float));
    int32_t expectedStatus = 0;
    for (int i = 0; i < count; ++i) {
      int32_t s;
      One(xs[i], &s);
      if (s != 0) expectedStatus = s;
    }
    ASSERT_EQ(LnStubOfClass(Cls())(buf + offset, out.as<float>(), count), expectedStatus);
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(BitsOf(out.as<float>()[i]), BitsOf(One(xs[i]))) << "offset " << offset << " count " << count;
    }
  });
}

TEST_P(LnTest, InPlace) {
  std::mt19937_64 rng(0x1A1Au);
  std::vector<float> x(203), expected(203);
  for (float& v : x) v = PositiveInput(rng);
  x[50] = -1.0f;
  LnStubOfClass(Cls())(x.data(), expected.data(), 203);
  LnStubOfClass(Cls())(x.data(), x.data(), 203);
  EXPECT_TRUE(lv_test::SameBits(x.data(), expected.data(), 203));
}

TEST_P(LnTest, FloatingPointEnvironment) {
  const unsigned saved = _mm_getcsr();
  float x[8] = {0.0f, -1.0f, Bits(0x7F800000u), Bits(0x7FA00000u), 1e-40f, 3.0f, -0.0f, Bits(0xFF800000u)};
  float r[8];
  _mm_setcsr(0x1F80u);
  LnStubOfClass(Cls())(x, r, 8);
  EXPECT_EQ(_mm_getcsr() & 0x1Fu, 0u) << std::hex << _mm_getcsr();
  const unsigned custom = (0x1F80u & ~0x0200u) | 0x6000u;
  _mm_setcsr(custom);
  LnStubOfClass(Cls())(x, r, 8);
  EXPECT_EQ(_mm_getcsr(), custom);
  _mm_setcsr(saved);
}

TEST_P(LnTest, PrimitiveTranslatesTheCodes) {
  float r[2];
  const float one[1] = {1.0f};
  const float zeroNeg[2] = {0.0f, -1.0f};
  const float negZero[2] = {-1.0f, -0.0f};
  const float sub[1] = {Bits(0x00000001u)};
  const float odd[2] = {Bits(0x7F800000u), Bits(0x7FC00000u)};
  EXPECT_EQ(VectorLnFloat32(one, r, 1), StatusOk);
  EXPECT_EQ(BitsOf(r[0]), 0u);
  EXPECT_EQ(VectorLnFloat32(zeroNeg, r, 2), StatusLnOfNegative);
  EXPECT_EQ(VectorLnFloat32(negZero, r, 2), StatusLnOfZero);
  EXPECT_EQ(BitsOf(r[1]), 0xFF800000u);
  EXPECT_TRUE(std::isnan(r[0]));
  EXPECT_EQ(VectorLnFloat32(sub, r, 1), StatusOk);
  EXPECT_NEAR(r[0], -103.27893f, 1e-4f);
  EXPECT_EQ(VectorLnFloat32(odd, r, 2), StatusOk);
  EXPECT_EQ(BitsOf(r[0]), 0x7F800000u);
  EXPECT_TRUE(std::isnan(r[1]));
  float dst[1] = {5.0f};
  EXPECT_EQ(VectorLnFloat32(nullptr, dst, 1), StatusNullPointer);
  EXPECT_EQ(VectorLnFloat32(one, nullptr, 1), StatusNullPointer);
  EXPECT_EQ(VectorLnFloat32(nullptr, dst, 0), StatusNullPointer);
  EXPECT_EQ(VectorLnFloat32(one, dst, 0), StatusBadCount);
  EXPECT_EQ(dst[0], 5.0f);
}

LV_INSTANTIATE_PER_CLASS(LnTest);
LV_INSTANTIATE_PER_CLASS_OF(LnSpecialRoutineTest, kClassSsse3, kClassSse42, kClassAvx, kClassAvx2,
                            kClassAvx512ManyCore, kClassAvx512);

TEST(LnTables, SpotEntries) {
  using namespace lv_vmath_ln;
  // class 0: entry 1 rcp 0.984375, entry 3 rcp 0.95703125, entry 64 (0.693115234, 3.19461833e-05, 0.5)
  EXPECT_EQ(kLnTableSse2[4 * 1 + 2], 0x3F7C0000u);
  EXPECT_EQ(kLnTableSse2[4 * 3 + 2], 0x3F750000u);
  EXPECT_EQ(kLnTableSse2[4 * 64 + 0], 0x3F317000u);
  EXPECT_EQ(kLnTableSse2[4 * 64 + 1], 0x3805FDF4u);
  EXPECT_EQ(kLnTableSse2[4 * 64 + 2], 0x3F000000u);
  EXPECT_EQ(kLnTableSse2[0], 0u);
  EXPECT_EQ(kLnTableSse2[2], 0x3F800000u);
  // class 1: entry 1 (0.0155029297, 1.25684846e-06, 0.984615386), entry 64 (0.693145752, 1.42860677e-06, 0.5)
  EXPECT_EQ(Bits(kLnTableSse3[4 * 1 + 0]), 0.0155029297f);
  EXPECT_EQ(Bits(kLnTableSse3[4 * 1 + 1]), 1.25684846e-06f);
  EXPECT_EQ(Bits(kLnTableSse3[4 * 1 + 2]), 0.984615386f);
  EXPECT_EQ(kLnTableSse3[4 * 64 + 0], 0x3F317200u);
  EXPECT_EQ(kLnTableSse3[4 * 64 + 1], 0x35BFBE8Eu);
  // double table: entry 1 (0.984375, 0.015748356971016619, -2.8774507469369539e-12), entry 64 (0.5, ln 2 hi, lo)
  EXPECT_EQ(std::bit_cast<double>(kLnTableDouble[3]), 0.984375);
  // Our head is the nearest multiple of 2^-42 (the listed head lies 13 such
  // units away); head + tail is the same value to double-double precision.
  const long double sum1 = static_cast<long double>(std::bit_cast<double>(kLnTableDouble[4])) +
                           std::bit_cast<double>(kLnTableDouble[5]);
  EXPECT_LT(std::fabs(sum1 - (static_cast<long double>(0.015748356971016619) + static_cast<long double>(-2.8774507469369539e-12))), 0x1p-70L);
  EXPECT_EQ(kLnTableDouble[3 * 64 + 1], 0x3FE62E42FEFA3800ull);
  EXPECT_EQ(kLnTableDouble[3 * 64 + 2], 0x3D2EF35793C76730ull);
  // Every class-0 and class-1 entry obeys its rule's exactness: hi on its grid.
  for (int j = 0; j <= 64; ++j) {
    EXPECT_EQ(std::fmod(Bits(kLnTableSse2[4 * j]) * 16384.0f, 1.0f), 0.0f) << j;
    EXPECT_EQ(std::fmod(Bits(kLnTableSse3[4 * j]) * 65536.0f, 1.0f), 0.0f) << j;
    const double hi = std::bit_cast<double>(kLnTableDouble[3 * j + 1]);
    EXPECT_EQ(std::fmod(hi * 0x1p42, 1.0), 0.0) << j;
    const long double exact = -std::log(static_cast<long double>(std::bit_cast<double>(kLnTableDouble[3 * j])));
    EXPECT_LE(std::fabs(static_cast<long double>(hi) - exact), 0x1p-43L) << j;
  }
}

TEST(LnRecords, StubsReadCellZeroOfTheirRecords) {
  const VmathRecord<UnaryFloat32Kernel>* records[8] = {
      &LnFloat32RecordSse2, &LnFloat32RecordSse3, &LnFloat32RecordSsse3, &LnFloat32RecordSse42,
      &LnFloat32RecordAvx,  &LnFloat32RecordAvx2, &LnFloat32RecordAvx512ManyCore, &LnFloat32RecordAvx512};
  const UnaryFloat32Kernel kernels[8] = {&LnFloat32KernelSse2,  &LnFloat32KernelSse3, &LnFloat32KernelSsse3,
                                         &LnFloat32KernelSsse3, &LnFloat32KernelAvx, &LnFloat32KernelAvx2,
                                         &LnFloat32KernelAvx512ManyCore, &LnFloat32KernelAvx512};
  const float costs[8][3] = {{14.99f, 14.99f, 14.99f}, {14.76f, 18.64f, 9.80f}, {7.65f, 9.75f, 5.00f},
                             {7.06f, 9.48f, 4.51f},    {3.24f, 4.16f, 2.11f},   {1.50f, 1.81f, 1.00f},
                             {2, 3, 1},                {2, 3, 1}};
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(records[c]->variant[0], kernels[c]) << c;
    for (int v = 0; v < 3; ++v) {
      EXPECT_EQ(records[c]->cost[v], costs[c][v]);
    }
  }
}

}  // namespace
