// The large-order roads across their recursion edge (arrays of up to 2 GiB
// from aligned_alloc): class 1 at orders 24 (rows by the in-place kernel) to
// 26 (one recursion level) through its drivers, classes 5 and 7 at orders 25
// to 28 through their transforms. Accuracy against FFTW in double, forward
// and inverse, in place equal to out of place, the source unchanged out of
// place, and (classes 5 and 7) the work buffer held to its reported size by a
// protected page.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tests/fft/large/large_classes.h"
#include "support/bits.h"
#include "support/guarded_buffer.h"

namespace {

using namespace lv_large_test;

class LargeHugeTest : public LargeCaseTest {};

TEST_P(LargeHugeTest, AgreesWithFftwAndInPlaceEqualsOutOfPlace) {
  const auto [cls, order] = GetParam();
  const LargeClass& k = Large(cls);
  const int64_t n = int64_t{1} << order;
  const size_t bytes = static_cast<size_t>(n) * 8;
  const lv_test::FftPlan plan = Plan(cls, order, kFftScaleInverse);
  ASSERT_EQ(plan.status, 0);
  lv_test::AlignedMemory xMem(8 * n), yMem(8 * n);
  C* x = xMem.points();
  C* y = yMem.points();
  lv_test::FillRandomSignal(x, n, 300 + static_cast<uint32_t>(order));
  for (int d = 0; d < 2; ++d) {
    const char* dir = d == 0 ? "forward" : "inverse";
    if (k.transform[d] != nullptr) {
      lv_test::GuardedBuffer work(static_cast<size_t>(plan.workBytes));
      ASSERT_EQ(k.transform[d](x, y, plan.spec, work.data()), 0);
    } else {
      k.driver[d](plan.spec, x, y, order, plan.work());
    }
    const double scale = d == 0 ? 1.0 : 1.0 / static_cast<double>(n);
    EXPECT_TRUE(lv_test::AgreesWithDft(x, y, n, d == 0 ? lv_test::kFftForward : lv_test::kFftInverse, scale)) << dir;
    // In place on a copy of the source, compared with the out-of-place result.
    {
      lv_test::AlignedMemory zMem(8 * n);
      C* z = zMem.points();
      std::memcpy(z, x, bytes);
      RunRoad(cls, d, plan, z, z, order);
      EXPECT_TRUE(lv_test::SameBits(z, y, static_cast<size_t>(n))) << "in place, " << dir;
    }
  }
  lv_test::FillRandomSignal(y, n, 300 + static_cast<uint32_t>(order));
  EXPECT_TRUE(lv_test::SameBits(x, y, static_cast<size_t>(n))) << "the source is unchanged out of place";
}

INSTANTIATE_TEST_SUITE_P(RecursionEdge, LargeHugeTest, ::testing::ValuesIn(Cases(&LargeClass::hugeOrders)), CaseName);

}  // namespace
