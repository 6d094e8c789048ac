// The large-order road of classes 5 and 7 at orders 25-28 (arrays of up to
// 2 GiB from aligned_alloc): accuracy against FFTW in double, forward and
// inverse, in place equal to out of place across the recursion edge (26:
// in-place kernel rows, 27: one recursion level), the source unchanged out of
// place and the work buffer held to its reported size by a protected page.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "large_check.h"
#include "cpu/dispatch_testing.h"
#include "support/guarded_buffer.h"

namespace {

using namespace lv_large_test;

// A 64-bit digest of n points (FNV-1a over the 64-bit words).
uint64_t Digest(const C* x, int64_t n) {
  uint64_t h = 1469598103934665603ull;
  for (int64_t i = 0; i < n; ++i) {
    uint64_t v = 0;
    std::memcpy(&v, x + i, 8);
    h = (h ^ v) * 1099511628211ull;
  }
  return h;
}

class LargeHugeTest : public ::testing::TestWithParam<std::tuple<ClassRoads, int>> {};

TEST_P(LargeHugeTest, AgreesWithFftwAndInPlaceEqualsOutOfPlace) {
  const auto& [c, order] = GetParam();
  if (!IsProcessorClassRunnable(c.cls)) GTEST_SKIP() << "class not runnable here";
  const int64_t n = int64_t{1} << order;
  Plan plan(c, order, kFftScaleInverse);
  ASSERT_EQ(plan.status, 0);
  auto xMem = AlignedBytes(8 * n), yMem = AlignedBytes(8 * n);
  C* x = reinterpret_cast<C*>(xMem.get());
  C* y = reinterpret_cast<C*>(yMem.get());
  FillRandom(x, n, static_cast<uint32_t>(order));
  const uint64_t digest = Digest(x, n);
  lv_test::GuardedBuffer work(static_cast<size_t>(plan.workBytes));
  fftw_complex* scratch = fftw_alloc_complex(n);
  ASSERT_NE(scratch, nullptr);
  for (int d = 0; d < 2; ++d) {
    const TransformFn fn = d == 0 ? c.forward : c.inverse;
    ASSERT_EQ(fn(x, y, plan.spec, work.data()), 0);
    EXPECT_EQ(Digest(x, n), digest) << "the source is unchanged";
    const double scale = d == 0 ? 1.0 : 1.0 / static_cast<double>(n);
    EXPECT_LE(RelativeError(x, y, n, d == 0 ? FFTW_FORWARD : FFTW_BACKWARD, scale, scratch), Bound(order))
        << (d == 0 ? "forward" : "inverse");
    // in place on a copy of the source, compared with the out-of-place result
    auto zMem = AlignedBytes(8 * n);
    C* z = reinterpret_cast<C*>(zMem.get());
    std::memcpy(z, x, static_cast<size_t>(n) * 8);
    ASSERT_EQ(fn(z, z, plan.spec, plan.work.get()), 0);
    EXPECT_TRUE(SameBits(z, y, n)) << "in place, " << (d == 0 ? "forward" : "inverse");
  }
  fftw_free(scratch);
}

INSTANTIATE_TEST_SUITE_P(Orders25To28, LargeHugeTest,
                         ::testing::Combine(::testing::ValuesIn(kClasses), ::testing::Range(25, 29)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_order" +
                                  std::to_string(std::get<1>(info.param));
                         });

}  // namespace
