// Large-order plans whose inner order is itself a large order (one recursion
// level): hundreds of MB of specification per class.
#include <gtest/gtest.h>

#include "fft_vector_model.h"
#include "support/class_fixture.h"

namespace {

using namespace fftv_model;

class FftVectorPlanHugeTest : public lv_test::PerClassTest {};

INSTANTIATE_TEST_SUITE_P(Classes, FftVectorPlanHugeTest, ::testing::Range(1, kProcessorClassCount),
                         ::lv_test::ClassParamName);

TEST_P(FftVectorPlanHugeTest, DepthOnePlansHoldBothLevelsColumnTables) {
  const int order = Cls() == 1 ? 25 : Cls() <= 3 ? 26 : 27;
  CheckPlan(Class(Cls()), order);
}

}  // namespace
