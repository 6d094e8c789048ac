// The per-element reports of the logarithm kernels. The program is linked
// with --wrap=MathErrorCallback, so the kernels' calls arrive here: every
// zero or negative element is reported once, in index order, with the
// contract's arguments, after its result was stored, and the kernel takes the
// element's result back from dst after the call. Classes 0 and 1 report
// through the status only, and the arctangent never reports.
#include <cmath>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "ln_test_support.h"
#include "cpu/dispatch.h"
#include "support/class_fixture.h"
#include "vmath/atan2/atan2.h"

namespace {

struct Report {
  int32_t code;
  int32_t index;
  const void* a1;
  const void* a2;
  void* r1;
  void* r2;
  int32_t* cell;
  int32_t cellValue;
  uint32_t stored;  // dst[index] at the time of the call
};

std::vector<Report> g_reports;
bool g_overwrite = false;

}  // namespace

extern "C" void __wrap__Z17MathErrorCallbackiiPKvS0_PvS1_Pi(int32_t code, int32_t index, const void* a1,
                                                            const void* a2, void* r1, void* r2, int32_t* cell) {
  uint32_t stored;
  std::memcpy(&stored, static_cast<float*>(r1) + index, 4);
  g_reports.push_back({code, index, a1, a2, r1, r2, cell, cell != nullptr ? *cell : -1, stored});
  if (g_overwrite) {
    static_cast<float*>(r1)[index] = 42.0f;
  }
}

namespace {

using namespace lv_test_ln;

class LnReportTest : public lv_test::PerClassTest {
 protected:
  void SetUp() override {
    lv_test::PerClassTest::SetUp();
    g_reports.clear();
    g_overwrite = false;
  }
};

TEST_P(LnReportTest, EverySpecialElementReportedOnceInIndexOrder) {
  // 4 bytes past a 64-byte boundary: the head, a main block and the tail
  // each hold special elements.
  alignas(64) float buf[1 + 80];
  float* src = buf + 1;
  constexpr int kN = 75;
  for (int i = 0; i < kN; ++i) {
    src[i] = 1.0f + 0.25f * static_cast<float>(i);
  }
  const int zeros[] = {1, 20, 70};
  const int negatives[] = {2, 33, 34, 74};
  for (int i : zeros) src[i] = (i % 2) ? -0.0f : 0.0f;
  for (int i : negatives) src[i] = (i == 74) ? Bits(0xFF800000u) : -1.5f;
  src[40] = Bits(0x7FC00000u);  // NaN and +infinity: no report
  src[41] = Bits(0x7F800000u);
  src[50] = Bits(0x00000005u);  // positive subnormal: no report
  std::vector<float> dst(kN);
  const int32_t status = LnStubOfClass(Cls())(src, dst.data(), kN);
  EXPECT_EQ(status, kVmathCodeDomain);  // element 74 is the last special one
  if (Cls() <= 1) {
    EXPECT_TRUE(g_reports.empty());
    return;
  }
  const int expected[] = {1, 2, 20, 33, 34, 70, 74};
  ASSERT_EQ(g_reports.size(), std::size(expected));
  for (size_t k = 0; k < g_reports.size(); ++k) {
    const Report& r = g_reports[k];
    const int i = expected[k];
    EXPECT_EQ(r.index, i);
    const bool zero = src[i] == 0.0f;
    EXPECT_EQ(r.code, zero ? kVmathCodeSingularity : kVmathCodeDomain) << i;
    EXPECT_EQ(r.a1, src);
    EXPECT_EQ(r.a2, src);
    EXPECT_EQ(r.r1, dst.data());
    EXPECT_EQ(r.r2, dst.data());
    ASSERT_NE(r.cell, nullptr);
    EXPECT_EQ(r.cellValue, 0);
    EXPECT_EQ(r.stored, zero ? 0xFF800000u : 0xFFC00000u) << i;
  }
}

// Classes 0 and 1 do not report elements.
class LnReportTakenBackTest : public LnReportTest {};

TEST_P(LnReportTakenBackTest, ResultIsTakenBackAfterTheReport) {
  g_overwrite = true;
  float src[20];
  for (int i = 0; i < 20; ++i) src[i] = 2.0f;
  src[3] = 0.0f;
  src[17] = -1.0f;
  float dst[20];
  EXPECT_EQ(LnStubOfClass(Cls())(src, dst, 20), kVmathCodeDomain);
  EXPECT_EQ(dst[3], 42.0f);
  EXPECT_EQ(dst[17], 42.0f);
  EXPECT_EQ(BitsOf(dst[0]), 0x3F317218u);
}

TEST_P(LnReportTest, ArctangentNeverReports) {
  const Atan2Float32Kernel stubs[8] = {&Atan2Float32StubSse2, &Atan2Float32StubSse3, &Atan2Float32StubSsse3,
                                       &Atan2Float32StubSse42, &Atan2Float32StubAvx, &Atan2Float32StubAvx2,
                                       &Atan2Float32StubAvx512ManyCore, &Atan2Float32StubAvx512};
  float y[6] = {0.0f, -0.0f, Bits(0x7F800000u), Bits(0x7FC00000u), 1e-40f, 1.0f};
  float x[6] = {0.0f, -1.0f, 1.0f, 1.0f, 1.0f, Bits(0xFF800000u)};
  float r[6];
  EXPECT_EQ(stubs[Cls()](y, x, r, 6), 0);
  EXPECT_TRUE(g_reports.empty());
}

LV_INSTANTIATE_PER_CLASS(LnReportTest);
LV_INSTANTIATE_PER_CLASS_OF(LnReportTakenBackTest, kClassSsse3, kClassSse42, kClassAvx, kClassAvx2,
                            kClassAvx512ManyCore, kClassAvx512);

}  // namespace
