// The large-order plans of orders 24 to 27 (depth-1 recursion; up to 1.2 GB of
// specification): every table at its place, every twiddle a look-up, and the
// work-buffer size each plan stores.
#include "fft_table_check.h"

namespace {

class FftPlanHugeOrder : public testing::TestWithParam<int> {};

TEST_P(FftPlanHugeOrder, EveryTableInPlaceAndEveryTwiddleALookUp) {
  fft_table_check::CheckPlan(GetParam());
}

TEST(FftPlanHuge, WorkBufferSizes) {
  const int32_t want[] = {8192, 8192, 32768, 32768, 32768};
  for (int order = 23; order <= 27; ++order) {
    fft_table_check::Spec s;
    fft_table_check::BuildSpec(order, &s);
    EXPECT_EQ(s.header->workBytes, want[order - 23]) << order;
  }
}

INSTANTIATE_TEST_SUITE_P(Orders, FftPlanHugeOrder, testing::Range(24, 28));

}  // namespace
