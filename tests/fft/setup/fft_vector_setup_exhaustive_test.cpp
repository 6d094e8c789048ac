// Initialisation of the larger plan orders against the reported sizes: tens to
// hundreds of MB per order and class.
#include <gtest/gtest.h>

#include "fft_vector_model.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using namespace fftv_model;

class FftVectorSetupExhaustiveTest : public lv_test::PerClassTest {};

INSTANTIATE_TEST_SUITE_P(Classes, FftVectorSetupExhaustiveTest, ::testing::Range(1, kProcessorClassCount),
                         ::lv_test::ClassParamName);

TEST_P(FftVectorSetupExhaustiveTest, InitOfOrders21To24WritesNothingPastTheReportedSizes) {
  for (int order = 21; order <= 24; ++order) {
    int32_t s, i, w;
    ASSERT_EQ(Class(Cls()).getSize(order, 2, 2, &s, &i, &w), 0);
    lv_test::CanaryBuffer spec(s, 63);
    lv_test::CanaryBuffer init(i, 1);
    FftSpecComplexFloat32* out = nullptr;
    ASSERT_EQ(Class(Cls()).init(&out, order, 2, 2, spec.region(), init.region()), 0) << order;
    EXPECT_TRUE(spec.CanariesIntact()) << order;
    EXPECT_TRUE(init.CanariesIntact()) << order;
  }
}

TEST_P(FftVectorSetupExhaustiveTest, PlanOfOrder24) {
  CheckPlan(Class(Cls()), 24);
}

}  // namespace
