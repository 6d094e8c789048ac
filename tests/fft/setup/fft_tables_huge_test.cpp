// The large-order plans of orders 24 to 27 (depth-1 recursion; up to 1.2 GB of
// specification): every table at its place, every twiddle a look-up, and the
// work-buffer size each plan stores.
#include <algorithm>

#include "fft_table_check.h"

namespace {

class FftPlanHugeOrder : public testing::TestWithParam<int> {};

TEST_P(FftPlanHugeOrder, EveryTableInPlaceAndEveryTwiddleALookUp) {
  fft_table_check::CheckPlan(GetParam());
}

// The stored work-buffer size: the size query's less 64, 32 * 2^n for the
// larger outer order n of the two levels.
TEST(FftPlanHuge, WorkBufferSizes) {
  for (int order = 23; order <= 27; ++order) {
    fft_table_check::Spec s;
    fft_table_check::BuildSpec(order, &s);
    int32_t sb, ib, wb;
    ASSERT_EQ(FftGetSizeComplexFloat32Sse2(order, 2, 2, &sb, &ib, &wb), 0);
    EXPECT_EQ(s.header->workBytes + 64, wb) << order;
    const int inner = order - kFftOrderSplitSse2[order];
    EXPECT_EQ(s.header->workBytes, 32 << std::max(kFftOrderSplitSse2[order], kFftOrderSplitSse2[inner])) << order;
  }
}

INSTANTIATE_TEST_SUITE_P(Orders, FftPlanHugeOrder, testing::Range(24, 28));

}  // namespace
