// Long runs of the logarithm checks (label exhaustive): the scalar models on
// 10^7 inputs and the accuracy over every positive finite float, per class.
#include <cstdio>

#include <gtest/gtest.h>

#include "ln_test_support.h"
#include "support/class_fixture.h"

namespace {

using namespace lv_test_ln;

class LnLongTest : public lv_test::PerClassTest {};

TEST_P(LnLongTest, EqualsScalarModelOn10M) { CompareLnWithModel(Cls(), 10000000, 0x2A0000u + Cls()); }

TEST_P(LnLongTest, AccuracyOverEveryPositiveFloat) {
  const int64_t worst = LnWorstUlp(Cls(), 1, 0x7F7FFFFFu, 1);
  std::printf("worst %lld ulp\n", static_cast<long long>(worst));
  EXPECT_LE(worst, LnUlpBound(Cls()));
}

LV_INSTANTIATE_PER_CLASS(LnLongTest);

}  // namespace
