// Searches with index on vectors of more than 2^24 elements, where positions
// held as single-precision values would no longer be exact.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "extremes_test_support.h"
#include "support/class_fixture.h"

namespace {

using namespace extremes_test;

class ExtremesHugeTest : public lv_test::PerClassTest {};

TEST_P(ExtremesHugeTest, PositionsBeyondTwoToTheTwentyFourAreExact) {
  const int n = (1 << 24) + (1 << 23) + 37;
  std::vector<float> v(n);
  for (int i = 0; i < n; ++i) v[i] = float(i % 4093) * 0.01f;
  // Odd positions above 2^24 cannot be held by a float.
  const int maxAt = (1 << 24) + 1, maxAgain = (1 << 24) + (1 << 22) + 3;
  const int minAt = (1 << 24) + 7, minAgain = n - 1;
  v[maxAt] = v[maxAgain] = 1e6f;
  v[minAt] = v[minAgain] = -1e6f;
  for (size_t off : {size_t{0}, size_t{4}, size_t{20}, size_t{2}}) {
    PlacedVector<float> pv(v, off);
    float value = 0;
    int32_t index = -1;
    ASSERT_EQ(kIndexF32[1][Cls()](pv.data(), n, &value, &index), StatusOk);
    EXPECT_EQ(value, 1e6f);
    EXPECT_EQ(index, maxAt) << "offset " << off;
    ASSERT_EQ(kIndexF32[0][Cls()](pv.data(), n, &value, &index), StatusOk);
    EXPECT_EQ(value, -1e6f);
    EXPECT_EQ(index, minAt) << "offset " << off;
  }
  // The last element alone.
  v[maxAt] = v[maxAgain] = 0.0f;
  v[n - 2] = 2e6f;
  PlacedVector<float> pv(v, 8);
  float value = 0;
  int32_t index = -1;
  ASSERT_EQ(kIndexF32[1][Cls()](pv.data(), n, &value, &index), StatusOk);
  EXPECT_EQ(index, n - 2);
}

LV_INSTANTIATE_PER_CLASS(ExtremesHugeTest);

}  // namespace
