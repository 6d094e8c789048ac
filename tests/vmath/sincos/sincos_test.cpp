// Sine and cosine kernels of every processor class: golden values, bit-for-bit
// agreement with the scalar model of the class's rule (and, for classes 1 to 4,
// with class 0), accuracy against long double, special values and their
// callbacks, blocking and memory bounds, the floating-point environment, and
// the records and stubs.
#include <immintrin.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gtest/gtest.h>
#include "../x87_flags.h"

#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"
#include "vmath/sincos/sincos_tables.h"
#include "vmath/sincos/sincos_test_support.h"
#include "vmath/sincos/sincos_model.h"

using sincos_model::Bits;
using sincos_model::Float;
using namespace sincos_test;

namespace {

// The code of an infinite argument is a fixed number of the kernel contract.
static_assert(kVmathCodeDomain == 19);

// ---------------------------------------------------------------------------
// Tables

TEST(SinCosTables, InvTwoPiSpotRows) {
  for (int e = 0; e <= 56; ++e) {
    for (int w = 0; w < 3; ++w) {
      EXPECT_EQ(lv_sincos_tables::kInvTwoPiTable[e][w], 0u) << "row " << e;
    }
  }
  EXPECT_EQ(lv_sincos_tables::kInvTwoPiTable[57][0], 0u);
  EXPECT_EQ(lv_sincos_tables::kInvTwoPiTable[57][1], 0u);
  EXPECT_EQ(lv_sincos_tables::kInvTwoPiTable[57][2], 1u);
  EXPECT_EQ(lv_sincos_tables::kInvTwoPiTable[127][0], 0x00000051u);
  EXPECT_EQ(lv_sincos_tables::kInvTwoPiTable[127][1], 0x7CC1B727u);
  EXPECT_EQ(lv_sincos_tables::kInvTwoPiTable[127][2], 0x220A94FEu);
}

TEST(SinCosTables, InvTwoPiRowsAreShiftsOfOneAnother) {
  // Row e+1 is twice row e plus the next bit of 1/(2*pi), modulo 2^96.
  for (int e = 57; e < 255; ++e) {
    const uint32_t* a = lv_sincos_tables::kInvTwoPiTable[e];
    const uint32_t* b = lv_sincos_tables::kInvTwoPiTable[e + 1];
    EXPECT_EQ(b[0], (a[0] << 1) | (a[1] >> 31)) << "row " << e;
    EXPECT_EQ(b[1], (a[1] << 1) | (a[2] >> 31)) << "row " << e;
    EXPECT_EQ(b[2] >> 1, a[2] & 0x7FFFFFFFu) << "row " << e;
  }
}

TEST(SinCosTables, SinTurnSpotEntries) {
  struct Entry {
    int j;
    float t0, t1, t2, t3;
  };
  const Entry entries[] = {
      {0, 0.0f, 0.0f, 0.0f, 1.0f},
      {1, -0.00030118131f, 0.024541229f, -4.86716001e-10f, 1.0f},
      {63, -0.00670877146f, 0.999698818f, 9.66254299e-10f, 0.03125f},
      {64, 0.0f, 1.0f, 0.0f, 0.0f},
  };
  for (const Entry& e : entries) {
    const uint32_t* row = lv_sincos_tables::kSinTurnTableBits[e.j];
    EXPECT_EQ(row[0], Bits(e.t0)) << "entry " << e.j;
    EXPECT_EQ(row[1], Bits(e.t1)) << "entry " << e.j;
    EXPECT_EQ(row[2], Bits(e.t2)) << "entry " << e.j;
    EXPECT_EQ(row[3], Bits(e.t3)) << "entry " << e.j;
  }
  // The quarter-turn entries with cos = 0 carry T3 = 0.
  EXPECT_EQ(lv_sincos_tables::kSinTurnTableBits[192][3], 0u);
  EXPECT_EQ(lv_sincos_tables::kSinTurnTableBits[192][1], Bits(-1.0f));
}

TEST(SinCosTables, TurnEntriesSumToSineAndCosine) {
  for (int j = 0; j < 256; ++j) {
    const long double theta = 2.0L * 3.141592653589793238462643383279502884L * j / 256.0L;
    const uint32_t* s = lv_sincos_tables::kSinTurnTableBits[j];
    const long double sine = static_cast<long double>(Float(s[1])) + Float(s[2]);
    const long double cosine = static_cast<long double>(Float(s[0])) + Float(s[3]);
    EXPECT_NEAR(static_cast<double>(sine - sinl(theta)), 0.0, 1e-15) << "entry " << j;
    EXPECT_NEAR(static_cast<double>(cosine - cosl(theta)), 0.0, 1e-7) << "entry " << j;
    // T1 is sin rounded to float; T3 a power of two (or 0) with the sign of cos.
    if (j % 128 != 0) {  // long double pi is not exact: sinl(pi) is not 0
      EXPECT_EQ(Float(s[1]), static_cast<float>(sinl(theta))) << "entry " << j;
    }
    const float t3 = Float(s[3]);
    if (t3 != 0.0f) {
      int exp = 0;
      EXPECT_EQ(std::frexp(std::fabs(t3), &exp), 0.5f) << "entry " << j;
      EXPECT_EQ(std::signbit(t3), cosl(theta) < 0) << "entry " << j;
    }
    // The cosine table is the sine table a quarter turn on.
    for (int w = 0; w < 4; ++w) {
      EXPECT_EQ(lv_sincos_tables::kCosTurnTableBits[j][w], lv_sincos_tables::kSinTurnTableBits[(j + 64) % 256][w]);
    }
  }
}

// ---------------------------------------------------------------------------
// Golden values

enum Applies { kAll, kUnfusedOnly, kFusedOnly };

struct Golden {
  uint32_t x;
  uint32_t sine;
  uint32_t cosine;  // 0x00000001 = not given
  Applies applies;
};

constexpr uint32_t kNotGiven = 1u;

const Golden kGolden[] = {
    {0x00000000u, 0x00000000u, 0x3F800000u, kAll},         // +0
    {0x80000000u, 0x80000000u, 0x3F800000u, kAll},         // -0
    {0x00000001u, 0x00000001u, 0x3F800000u, kAll},         // smallest subnormal
    {0x807FFFFFu, 0x807FFFFFu, 0x3F800000u, kAll},         // largest negative subnormal
    {0x3F800000u, 0x3F576AA4u, 0x3F0A5141u, kAll},         // 1.0
    {0x3F000000u, 0x3EF57744u, 0x3F60A940u, kAll},         // 0.5
    {0x40490FDBu, 0xB3BBBD2Eu, 0xBF800000u, kAll},         // pi
    {0x3F490FDBu, 0x3F3504F3u, 0x3F3504F3u, kUnfusedOnly},  // pi/4
    {0x3FC90FDBu, 0x3F800000u, 0xB33BBD2Eu, kFusedOnly},   // pi/2
    {0x461C4000u, 0xBE9C797Du, 0xBF73C074u, kAll},         // 10000, fast path
    {0x461C4001u, 0xBE9CF359u, 0xBF73ACDDu, kAll},         // next float, large path
    {0xC61C4001u, 0x3E9CF359u, 0xBF73ACDDu, kAll},
    {0x4640E6B6u, 0xBF344B08u, 0x3F35BE20u, kAll},         // 12345.6777
    {0x49742400u, 0xBEB33259u, 0x3F6FCEFDu, kAll},         // 1.0e6
    {0x7F7FFFFFu, 0xBF0599B3u, 0x3F5A5F96u, kAll},         // largest float
    {0xFF7FFFFFu, 0x3F0599B3u, 0x3F5A5F96u, kAll},
    // Where the fused rule changes the rounding.
    {0xCB334E83u, 0x3EF679CDu, kNotGiven, kUnfusedOnly},  // -11751043
    {0xCB334E83u, 0x3EF679CEu, kNotGiven, kFusedOnly},
    {0xC9437D6Bu, 0x3F23A70Eu, kNotGiven, kUnfusedOnly},  // -800726.688
    {0xC9437D6Bu, 0x3F23A70Du, kNotGiven, kFusedOnly},
    {0xC6CCB383u, kNotGiven, 0x3F247671u, kUnfusedOnly},  // -26201.7559
    {0xC6CCB383u, kNotGiven, 0x3F247670u, kFusedOnly},
    {0xE11F7644u, kNotGiven, 0xBF01C4CBu, kUnfusedOnly},  // -1.8384714e20
    {0xE11F7644u, kNotGiven, 0xBF01C4CCu, kFusedOnly},
    // Special values.
    {0x7F800000u, 0xFFC00000u, 0xFFC00000u, kAll},  // +inf
    {0xFF800000u, 0xFFC00000u, 0xFFC00000u, kAll},  // -inf
    {0x7FA00000u, 0x7FE00000u, 0x7FE00000u, kAll},  // signalling NaN made quiet
    {0x7FC12345u, 0x7FC12345u, 0x7FC12345u, kAll},  // quiet NaN unchanged
    {0xFFA00001u, 0xFFE00001u, 0xFFE00001u, kAll},  // negative signalling NaN
};

bool GoldenApplies(const Golden& g, int cls) {
  const bool fused = sincos_model::RuleOfClass(cls) == sincos_model::Rule::kFused;
  return g.applies == kAll || (g.applies == kFusedOnly) == fused;
}

class SinCosTest : public lv_test::PerClassTest {};

TEST_P(SinCosTest, GoldenValuesOneByOneAndAsOneArray) {
  std::vector<float> xs;
  std::vector<uint32_t> expected;
  std::vector<bool> cosine;
  for (const Golden& g : kGolden) {
    if (!GoldenApplies(g, Cls())) {
      continue;
    }
    for (int c = 0; c < 2; ++c) {
      const uint32_t want = c == 0 ? g.sine : g.cosine;
      if (want == kNotGiven) {
        continue;
      }
      const float x = Float(g.x);
      const KernelFn fn = Stub(Cls(), c == 1);
      float r = 0.0f;
      fn(&x, &r, 1);
      EXPECT_EQ(Bits(r), want) << (c ? "cos" : "sin") << "(0x" << std::hex << g.x << ") in class "
                               << ProcessorClassSuffix(Cls());
      // The model of the class's rule gives the same value.
      EXPECT_EQ(Bits(sincos_model::Eval(x, c == 1, sincos_model::RuleOfClass(Cls()))), want)
          << "model " << (c ? "cos" : "sin") << "(0x" << std::hex << g.x << ")";
      xs.push_back(x);
      expected.push_back(want);
      cosine.push_back(c == 1);
    }
  }
  ASSERT_FALSE(xs.empty());
  // The same values inside blocks: each function over the whole list at once,
  // repeated so that every value is seen in several lanes.
  for (int c = 0; c < 2; ++c) {
    std::vector<float> in;
    std::vector<uint32_t> want;
    for (int rep = 0; rep < 5; ++rep) {
      for (size_t i = 0; i < xs.size(); ++i) {
        if (cosine[i] == (c == 1)) {
          in.push_back(xs[i]);
          want.push_back(expected[i]);
        }
      }
    }
    std::vector<float> out(in.size());
    Stub(Cls(), c == 1)(in.data(), out.data(), static_cast<int32_t>(in.size()));
    for (size_t i = 0; i < in.size(); ++i) {
      EXPECT_EQ(Bits(out[i]), want[i]) << (c ? "cos" : "sin") << " element " << i;
    }
  }
}

// ---------------------------------------------------------------------------
// Agreement with the model and with class 0

TEST_P(SinCosTest, MatchesModelOnRandomAndEdgeInputs) {
  const std::vector<float> in = MixedInputs(1u << 17, 20240611u + static_cast<unsigned>(Cls()));
  std::vector<float> out(in.size());
  std::vector<float> ref(in.size());
  for (int c = 0; c < 2; ++c) {
    const bool cosine = c == 1;
    Stub(Cls(), cosine)(in.data(), out.data(), static_cast<int32_t>(in.size()));
    long mismatches = 0;
    for (size_t i = 0; i < in.size(); ++i) {
      const float want = sincos_model::Eval(in[i], cosine, sincos_model::RuleOfClass(Cls()));
      if (Bits(out[i]) != Bits(want) && ++mismatches <= 5) {
        ADD_FAILURE() << (cosine ? "cos" : "sin") << "(0x" << std::hex << Bits(in[i]) << ") = 0x" << Bits(out[i])
                      << ", model 0x" << Bits(want);
      }
    }
    EXPECT_EQ(mismatches, 0);
    if (Cls() >= 1 && Cls() <= 4) {
      Stub(0, cosine)(in.data(), ref.data(), static_cast<int32_t>(in.size()));
      EXPECT_TRUE(lv_test::SameBits(out, ref))
          << (cosine ? "cos" : "sin") << " differs from class 0";
    }
  }
}

TEST_P(SinCosTest, MatchesModelOnAStrideThroughTheFirstOctant) {
  // Every 257th float of [0, pi/4]: the angles of the FFT's sine tables.
  std::vector<float> in;
  for (uint32_t u = 0; u <= 0x3F490FDBu; u += 257) {
    in.push_back(Float(u));
  }
  in.push_back(Float(0x3F490FDBu));
  ExpectMatchesModel(Cls(), in);
}

TEST_P(SinCosTest, WithinOneUlpOfLongDouble) {
  std::vector<float> in = MixedInputs(1u << 15, 77u + static_cast<unsigned>(Cls()));
  for (uint32_t u = 0; u <= 0x3F490FDBu; u += 65537) {
    in.push_back(Float(u));
  }
  std::vector<float> out(in.size());
  for (int c = 0; c < 2; ++c) {
    const bool cosine = c == 1;
    Stub(Cls(), cosine)(in.data(), out.data(), static_cast<int32_t>(in.size()));
    double worst = 0.0;
    float worstX = 0.0f;
    for (size_t i = 0; i < in.size(); ++i) {
      if (!std::isfinite(in[i])) {
        continue;
      }
      const double err = UlpError(out[i], in[i], cosine);
      if (err > worst) {
        worst = err;
        worstX = in[i];
      }
    }
    EXPECT_LT(worst, kSinCosUlpBound) << (cosine ? "cos" : "sin") << " worst at 0x" << std::hex << Bits(worstX);
  }
}

// ---------------------------------------------------------------------------
// Special values and MathErrorCallback

TEST_P(SinCosTest, InfinitiesReportOneCallbackPerElementInIndexOrder) {
  for (int c = 0; c < 2; ++c) {
    const bool cosine = c == 1;
    // Infinities in whole blocks and among the remaining elements, with NaNs.
    const int n = 75;
    std::vector<float> in(n);
    for (int i = 0; i < n; ++i) {
      in[i] = 0.01f * static_cast<float>(i);
    }
    const std::vector<int> infAt = {0, 5, 17, 31, 32, 40, 63, 70, 74};
    for (int i : infAt) {
      in[i] = (i % 2) ? -INFINITY : INFINITY;
    }
    in[3] = Float(0x7FA00000u);
    in[72] = Float(0xFFC00000u);
    std::vector<float> out(n);
    CallbackLog log;
    const int32_t status = Stub(Cls(), cosine)(in.data(), out.data(), n);
    EXPECT_EQ(status, kVmathCodeDomain);
    ASSERT_EQ(log.calls.size(), infAt.size());
    for (size_t k = 0; k < infAt.size(); ++k) {
      const CallbackCall& call = log.calls[k];
      EXPECT_EQ(call.code, kVmathCodeDomain);
      EXPECT_EQ(call.index, infAt[k]);
      EXPECT_EQ(call.argument1, in.data());
      EXPECT_EQ(call.argument2, in.data());
      EXPECT_EQ(call.result1, out.data());
      EXPECT_EQ(call.result2, out.data());
      EXPECT_NE(call.statusCell, nullptr);
      EXPECT_EQ(call.storedResult, 0xFFC00000u) << "the result is stored before the call";
    }
    for (int i = 0; i < n; ++i) {
      const float want = sincos_model::Eval(in[i], cosine, sincos_model::RuleOfClass(Cls()));
      EXPECT_EQ(Bits(out[i]), Bits(want)) << "element " << i;
    }
    EXPECT_EQ(Bits(out[3]), 0x7FE00000u);
    EXPECT_EQ(Bits(out[72]), 0xFFC00000u);
  }
}

TEST_P(SinCosTest, NaNsGiveNoCallbackAndLeaveTheStatusAlone) {
  const float in[] = {Float(0x7FA00000u), Float(0x7FC00000u), 1.0f, Float(0xFF800001u), 2e6f};
  float out[5];
  for (int c = 0; c < 2; ++c) {
    CallbackLog log;
    EXPECT_EQ(Stub(Cls(), c == 1)(in, out, 5), 0);
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(Bits(out[0]), 0x7FE00000u);
    EXPECT_EQ(Bits(out[1]), 0x7FC00000u);
    EXPECT_EQ(Bits(out[3]), 0xFFC00001u);
  }
}

TEST_P(SinCosTest, TheCallbackHasTheLastWordOnTheResult) {
  float in[40];
  for (int i = 0; i < 40; ++i) {
    in[i] = static_cast<float>(i);
  }
  in[9] = INFINITY;
  in[37] = -INFINITY;
  float out[40];
  for (int c = 0; c < 2; ++c) {
    CallbackLog log;
    log.replacement = 42.5f;
    EXPECT_EQ(Stub(Cls(), c == 1)(in, out, 40), kVmathCodeDomain);
    EXPECT_EQ(out[9], 42.5f);
    EXPECT_EQ(out[37], 42.5f);
    EXPECT_EQ(log.calls.size(), 2u);
  }
}

TEST(SinCosSpecialValues, EveryRoutineTreatsOnlyAllOnesExponents) {
  struct Case {
    uint32_t in;
    uint32_t out;  // the written value, or kUntouched
    int32_t code;
  };
  constexpr uint32_t kUntouched = 0x12345678u;
  const Case cases[] = {
      {0x7F800000u, 0xFFC00000u, kVmathCodeDomain}, {0xFF800000u, 0xFFC00000u, kVmathCodeDomain}, {0x7FA00000u, 0x7FE00000u, 0},
      {0xFFA00001u, 0xFFE00001u, 0},  {0x7FC00000u, 0x7FC00000u, 0},  {0x3F800000u, kUntouched, 0},
      {0x7F7FFFFFu, kUntouched, 0},   {0x00000000u, kUntouched, 0},
  };
  // Classes 0, 1-3 and 4-5 have a routine each; 6 and 7 handle the values inside the kernels.
  for (int cls : {0, 1, 4}) {
    const SpecialFn fn = SpecialRoutine(cls);
    ASSERT_NE(fn, nullptr);
    for (const Case& c : cases) {
      const float x = Float(c.in);
      float r = Float(kUntouched);
      EXPECT_EQ(fn(&x, &r), c.code) << "class " << cls << " input " << std::hex << c.in;
      EXPECT_EQ(Bits(r), c.out) << "class " << cls << " input " << std::hex << c.in;
    }
  }
}

// ---------------------------------------------------------------------------
// Blocking, memory bounds, in place

TEST_P(SinCosTest, EveryCountAndOffsetWritesOnlyItsElements) {
  const std::vector<float> pool = MixedInputs(256, 5u);
  for (int c = 0; c < 2; ++c) {
    const bool cosine = c == 1;
    const KernelFn fn = Stub(Cls(), cosine);
    lv_test::SweepOffsetsAndCounts(15, 70, [&](int offset, int count) {
      // The source ends at a guard page; the destination sits between canaries.
      lv_test::GuardedBuffer src(count * sizeof(float), sizeof(float));
      std::memcpy(src.data(), pool.data() + offset, count * sizeof(float));
      lv_test::CanaryBuffer dst(count * sizeof(float), offset * sizeof(float));
      float* d = reinterpret_cast<float*>(dst.region());
      fn(src.as<float>(), d, count);
      ASSERT_TRUE(dst.CanariesIntact()) << "count " << count << " offset " << offset;
      for (int i = 0; i < count; ++i) {
        float one = 0.0f;
        fn(src.as<float>() + i, &one, 1);
        ASSERT_EQ(Bits(d[i]), Bits(one)) << "count " << count << " offset " << offset << " element " << i;
      }
    });
  }
}

TEST_P(SinCosTest, InPlaceEqualsSeparateArrays) {
  std::vector<float> in = MixedInputs(1000, 11u);
  in[3] = INFINITY;
  in[998] = -INFINITY;
  for (int c = 0; c < 2; ++c) {
    const KernelFn fn = Stub(Cls(), c == 1);
    std::vector<float> out(in.size());
    CallbackLog separate;
    const int32_t s1 = fn(in.data(), out.data(), static_cast<int32_t>(in.size()));
    const std::vector<CallbackCall> separateCalls = separate.calls;
    separate.calls.clear();
    std::vector<float> inPlace = in;
    const int32_t s2 = fn(inPlace.data(), inPlace.data(), static_cast<int32_t>(in.size()));
    EXPECT_EQ(s1, s2);
    EXPECT_TRUE(lv_test::SameBits(out, inPlace));
    ASSERT_EQ(separate.calls.size(), separateCalls.size());
    for (size_t k = 0; k < separateCalls.size(); ++k) {
      EXPECT_EQ(separate.calls[k].index, separateCalls[k].index);
    }
  }
}

TEST_P(SinCosTest, ALargeLaneLeavesItsSmallNeighboursAlone) {
  std::vector<float> small(64);
  for (int i = 0; i < 64; ++i) {
    small[i] = 0.0123f * static_cast<float>(i) - 0.3f;
  }
  for (int c = 0; c < 2; ++c) {
    const KernelFn fn = Stub(Cls(), c == 1);
    std::vector<float> plain(64);
    fn(small.data(), plain.data(), 64);
    for (int at : {0, 7, 13, 31, 40, 63}) {
      std::vector<float> mixed = small;
      mixed[at] = 123456.0f;
      std::vector<float> out(64);
      fn(mixed.data(), out.data(), 64);
      for (int i = 0; i < 64; ++i) {
        if (i != at) {
          ASSERT_EQ(Bits(out[i]), Bits(plain[i])) << "large lane " << at << ", lane " << i;
        }
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Arguments and floating-point environment

TEST_P(SinCosTest, ArgumentChecksComeFirstAndWriteNothing) {
  float in[4] = {1, 2, 3, 4};
  float out[4] = {7, 7, 7, 7};
  for (int c = 0; c < 2; ++c) {
    const KernelFn fn = Stub(Cls(), c == 1);
    EXPECT_EQ(fn(in, out, 0), -6);
    EXPECT_EQ(fn(in, out, -5), -6);
    EXPECT_EQ(fn(nullptr, nullptr, 0), -6);
    EXPECT_EQ(fn(nullptr, out, 4), -8);
    EXPECT_EQ(fn(in, nullptr, 4), -8);
    for (float v : out) {
      EXPECT_EQ(v, 7.0f);
    }
  }
}

TEST_P(SinCosTest, FloatingPointEnvironmentIsKept) {
  const float in[6] = {INFINITY, Float(0x7FA00000u), 1e-40f, 0.0f, 3e38f, 1.0f};
  float out[6];
  const unsigned saved = _mm_getcsr();
  for (int c = 0; c < 2; ++c) {
    const KernelFn fn = Stub(Cls(), c == 1);
    // All masks set, flags raised before the call: bits 0-4 are cleared, bit 5 is kept.
    for (unsigned precision : {0u, 0x20u}) {
      _mm_setcsr(0x1F80u | 0x1Fu | precision);
      fn(in, out, 6);
      const unsigned after = _mm_getcsr();
      _mm_setcsr(saved);
      EXPECT_EQ(after & 0x1Fu, 0u);
      EXPECT_EQ(after & 0xFFC0u, 0x1F80u);
      if (precision != 0) {
        EXPECT_EQ(after & 0x20u, 0x20u);
      }
    }
    // Exceptions unmasked: no trap, register exactly as before. Masked with another
    // rounding mode, FTZ and DAZ: only the flags in bits 0-4 are cleared.
    for (unsigned csr : {0x1F80u & ~0x0200u, 0x0000u, 0x6000u | 0x1F80u | 0x8040u | 0x0002u}) {
      _mm_setcsr(csr);
      fn(in, out, 6);
      const unsigned after = _mm_getcsr();
      _mm_setcsr(saved);
      if ((csr & 0x1F80u) != 0x1F80u) {
        EXPECT_EQ(after, csr) << std::hex << csr;
      } else {
        EXPECT_EQ(after & ~0x20u, csr & ~0x3Fu) << std::hex << csr;  // the run may raise inexact
      }
    }
  }
  // The x87 exception flags are cleared on return.
  unsigned short sw = 0;
  __asm__ __volatile__("fnstsw %0" : "=m"(sw));
  EXPECT_EQ(sw & 0x3Fu, 0u);
}

// x87 exception flags raised before the call (no kernel uses the x87 unit,
// but every kernel leaves its flags clear), and none raised: clear after
// the call either way, and an ordinary input's result unchanged.
TEST_P(SinCosTest, X87FlagsSetBeforeTheCallAreClearAfterIt) {
  const float in[3] = {1.0f, 0.5f, -2.0f};
  for (int c = 0; c < 2; ++c) {
    SCOPED_TRACE(c == 1 ? "cos" : "sin");
    for (bool raise : {true, false}) {
      float out[3] = {};
      if (raise) {
        lv_vmath_test::RaiseX87Flags();
        ASSERT_EQ(lv_vmath_test::X87Status() & 0x05u, 0x05u);
      }
      EXPECT_EQ(Stub(Cls(), c == 1)(in, out, 3), 0);
      EXPECT_EQ(lv_vmath_test::X87Status() & 0xFFu, 0u) << "raised before: " << raise;
      EXPECT_EQ(Bits(out[0]), c == 1 ? 0x3F0A5141u : 0x3F576AA4u);
    }
  }
}

// ---------------------------------------------------------------------------
// Records and stubs

TEST_P(SinCosTest, RecordsHoldTheClassKernelInEveryCellAndTheCostFigures) {
  const VmathRecord<UnaryFloat32Kernel>& sin = SinRecord(Cls());
  const VmathRecord<UnaryFloat32Kernel>& cos = CosRecord(Cls());
  for (int cell = 0; cell < 3; ++cell) {
    EXPECT_EQ(sin.variant[cell], SinKernel(Cls())) << "cell " << cell;
    EXPECT_EQ(cos.variant[cell], CosKernel(Cls())) << "cell " << cell;
    EXPECT_EQ(sin.cost[cell], kSinCost[Cls()][cell]) << "cell " << cell;
    EXPECT_EQ(cos.cost[cell], kCosCost[Cls()][cell]) << "cell " << cell;
  }
  if (Cls() >= 1 && Cls() <= 5) {
    EXPECT_GT(sin.cost[1], sin.cost[0]);
    EXPECT_LT(sin.cost[2], sin.cost[0]);
    EXPECT_GT(cos.cost[1], cos.cost[0]);
    EXPECT_LT(cos.cost[2], cos.cost[0]);
  }
  // The stub passes the arguments and the status through.
  const float in[3] = {0.25f, INFINITY, 0.5f};
  float a[3];
  float b[3];
  EXPECT_EQ(Stub(Cls(), false)(in, a, 3), SinKernel(Cls())(in, b, 3));
  EXPECT_TRUE(lv_test::SameBits(a, b, 3));
  EXPECT_EQ(Stub(Cls(), true)(in, a, 3), CosKernel(Cls())(in, b, 3));
  EXPECT_TRUE(lv_test::SameBits(a, b, 3));
}

LV_INSTANTIATE_PER_CLASS(SinCosTest);

}  // namespace
