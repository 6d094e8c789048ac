// The class-1 large-order drivers, called directly, across the recursion edge
// (order 24: rows by the in-place kernel; 25 and 26: one recursion level):
// accuracy against FFTW in double in both directions, in place equal to out of
// place, and the source unchanged out of place.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "fft/drivers/large_order.h"
#include "fft/fft_classes.h"
#include "large_check.h"
#include "cpu/dispatch_testing.h"

namespace {

using namespace lv_large_test;

const ClassRoads kSse3 = {1, "Sse3", FftGetSizeComplexFloat32Sse3, FftInitComplexFloat32Sse3, nullptr, nullptr,
                          FftForwardLargeOrderLevelSse3, FftInverseLargeOrderLevelSse3};

class Sse3LargeHugeTest : public ::testing::TestWithParam<int> {};

TEST_P(Sse3LargeHugeTest, AgreesWithFftwAndInPlaceEqualsOutOfPlace) {
  if (!IsProcessorClassRunnable(1)) GTEST_SKIP() << "class 1 is not supported by this processor";
  const int order = GetParam();
  const int64_t n = int64_t{1} << order;
  const size_t bytes = static_cast<size_t>(n) * 8;
  Plan plan(kSse3, order, kFftScaleInverse);
  ASSERT_EQ(plan.status, 0);
  auto xMem = AlignedBytes(8 * n), yMem = AlignedBytes(8 * n), zMem = AlignedBytes(8 * n);
  C* x = reinterpret_cast<C*>(xMem.get());
  C* y = reinterpret_cast<C*>(yMem.get());
  C* z = reinterpret_cast<C*>(zMem.get());
  FillRandom(x, n, 300 + static_cast<uint32_t>(order));
  fftw_complex* scratch = fftw_alloc_complex(n);
  ASSERT_NE(scratch, nullptr);
  for (int d = 0; d < 2; ++d) {
    std::memcpy(z, x, bytes);
    if (d == 0) {
      FftForwardLargeOrderSse3(plan.spec, x, y, order, plan.work.get());
      FftForwardLargeOrderSse3(plan.spec, z, z, order, plan.work.get());
    } else {
      FftInverseLargeOrderSse3(plan.spec, x, y, order, plan.work.get());
      FftInverseLargeOrderSse3(plan.spec, z, z, order, plan.work.get());
    }
    EXPECT_TRUE(SameBits(y, z, n)) << "in place, direction " << d;
    const double scale = d == 0 ? 1.0 : 1.0 / static_cast<double>(n);
    EXPECT_LE(RelativeError(x, y, n, d == 0 ? FFTW_FORWARD : FFTW_BACKWARD, scale, scratch), Bound(order))
        << "direction " << d;
  }
  FillRandom(z, n, 300 + static_cast<uint32_t>(order));
  EXPECT_TRUE(SameBits(x, z, n)) << "source unchanged out of place";
  fftw_free(scratch);
}

INSTANTIATE_TEST_SUITE_P(RecursionEdge, Sse3LargeHugeTest, ::testing::Values(24, 25, 26),
                         [](const auto& info) { return "order" + std::to_string(info.param); });

}  // namespace
