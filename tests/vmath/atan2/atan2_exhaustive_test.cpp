// Long runs of the arctangent checks (label exhaustive): the scalar models on
// 10^7 pairs, accuracy on 10^8 pairs per class, and classes 1 to 4 against
// each other on 2^26 pairs.
#include <cstdio>

#include <gtest/gtest.h>

#include "atan2_checks.h"
#include "cpu/dispatch_testing.h"
#include "support/class_fixture.h"

namespace {

using namespace lv_test_atan2;

class Atan2LongTest : public lv_test::PerClassTest {};

TEST_P(Atan2LongTest, EqualsScalarModelOn10M) { CompareWithModel(Cls(), 10000000, 0x1E7000u + Cls()); }

TEST_P(Atan2LongTest, AccuracyOn100M) {
  const int64_t worst = MaxUlpAgainstLongDouble(Cls(), 100000000, 0x1E8000u + Cls());
  std::printf("worst %lld ulp\n", static_cast<long long>(worst));
  EXPECT_LE(worst, UlpBoundOfClass(Cls()));
}

LV_INSTANTIATE_PER_CLASS(Atan2LongTest);

TEST(Atan2LongClasses, UnfusedClassesAgreeOn2To26) {
  for (int cls = 1; cls <= 4; ++cls) {
    if (!IsProcessorClassRunnable(cls)) {
      GTEST_SKIP() << "class " << ProcessorClassSuffix(cls) << " not supported here";
    }
  }
  ExpectUnfusedClassesAgree(1024, 0x2260u);  // 1024 rounds of 2^16 pairs
}

}  // namespace
