// Float and complex sums in every processor class, compared bit for bit with
// the class's scalar model of its addition order, on data whose float result
// depends on that order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "primitives/arith/data_util.h"
#include "primitives/sum/sum.h"
#include "primitives/sum/sum_model.h"
#include "primitives/sum/sum_test_util.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using lv_test::Bits;
using lv_test::CheckAt;
using lv_test::ModelFloat;
using lv_test::OrderSensitive;
using lv_test::CanaryBuffer;
using lv_test::GuardedBuffer;
using lv_test::SameValue;

class SumTest : public lv_test::PerClassTest {};

TEST_P(SumTest, EqualsTheClassModelAtEveryOffsetAndCount) {
  std::vector<size_t> counts;
  for (size_t n = 1; n <= 72; ++n) counts.push_back(n);
  std::mt19937 rng(5 + Cls());
  for (int k = 0; k < 25; ++k) counts.push_back(73 + rng() % 2928);
  for (size_t n : {846, 847, 848, 849, 850, 1696, 1697, 1698}) counts.push_back(n);
  int visited = 0;
  for (size_t n : counts) {
    const auto data = OrderSensitive(static_cast<uint32_t>(n * 31 + Cls()), n);
    for (size_t off = 0; off < 64; ++off) {
      for (int32_t hint : {HintAccurate, HintFast}) {
        CheckAt(Cls(), data, n, off, hint);
        if (HasFatalFailure()) return;
        ++visited;
      }
    }
  }
  ASSERT_GT(visited, 0);
}

// The block edges of the single-precision schemes: 1024 (class 0), 8192
// (classes 4-7) and 32768 (classes 1-3) floats, and twice those for complex
// vectors (2n floats).
TEST_P(SumTest, BlockEdges) {
  // Float counts on each edge; even float counts 2(m +- 1) put the complex
  // sums' element counts on each side of the edges too.
  for (size_t edge : {1024, 2048, 8192, 16384, 32768, 65536}) {
    for (size_t n : {edge - 2, edge - 1, edge, edge + 1, edge + 2}) {
      const auto data = OrderSensitive(static_cast<uint32_t>(n), n);
      for (size_t off : {0, 4, 8, 12, 16, 28, 60, 2}) {
        for (int32_t hint : {HintNone, HintFast}) {
          CheckAt(Cls(), data, n, off, hint);
          if (HasFatalFailure()) return;
        }
      }
    }
  }
}

TEST_P(SumTest, SingleElementAndNegativeZeros) {
  for (int32_t hint : {int32_t{HintNone}, int32_t{HintFast}, int32_t{HintAccurate}, 7, -1}) {
    for (size_t off : {0, 4, 8, 12, 20, 28, 60, 1, 2}) {
      CanaryBuffer buf(64 * 8, off);
      auto* p = reinterpret_cast<float*>(buf.region());
      for (float x : {3.25f, -0.0f, 1e-40f, std::numeric_limits<float>::infinity()}) {
        std::memcpy(p, &x, 4);
        float s = 0;
        ASSERT_EQ(VectorSumFloat32(p, 1, &s, hint), StatusOk);
        EXPECT_EQ(Bits(s), Bits(x == 0.0f ? 0.0f : x)) << "n = 1 returns the element, -0 as +0";
        const float c[2] = {x, -x};
        std::memcpy(p, c, 8);
        ComplexFloat32 cs{};
        ASSERT_EQ(VectorSumComplexFloat32(reinterpret_cast<const ComplexFloat32*>(p), 1, &cs, hint), StatusOk);
        EXPECT_EQ(Bits(cs.re), Bits(x == 0.0f ? 0.0f : x));
        EXPECT_EQ(Bits(cs.im), Bits(x == 0.0f ? 0.0f : -x));
      }
      for (int n : {2, 7, 16, 33, 64}) {
        std::vector<float> z(2 * n, -0.0f);
        std::memcpy(p, z.data(), z.size() * 4);
        float s = 1;
        ASSERT_EQ(VectorSumFloat32(p, 2 * n, &s, hint), StatusOk);
        EXPECT_EQ(Bits(s), 0u) << "negative zeros sum to +0";
        ComplexFloat32 cs{1, 1};
        ASSERT_EQ(VectorSumComplexFloat32(reinterpret_cast<const ComplexFloat32*>(p), n, &cs, hint), StatusOk);
        EXPECT_EQ(Bits(cs.re), 0u);
        EXPECT_EQ(Bits(cs.im), 0u);
      }
    }
  }
}

// Hints other than 1 all accumulate in double; the class-0 complex sum ignores the hint.
TEST_P(SumTest, HintValues) {
  const size_t n = 5000;
  const auto data = OrderSensitive(99, n);
  float ref = 0;
  ASSERT_EQ(VectorSumFloat32(data.data(), n, &ref, HintAccurate), StatusOk);
  for (int32_t hint : {int32_t{HintNone}, 3, -7, 1 << 20}) {
    float s = 0;
    ASSERT_EQ(VectorSumFloat32(data.data(), n, &s, hint), StatusOk);
    EXPECT_EQ(Bits(s), Bits(ref));
  }
  const auto* c = reinterpret_cast<const ComplexFloat32*>(data.data());
  ComplexFloat32 a{}, b{};
  ASSERT_EQ(VectorSumComplexFloat32(c, n / 2, &a, HintAccurate), StatusOk);
  ASSERT_EQ(VectorSumComplexFloat32(c, n / 2, &b, HintFast), StatusOk);
  if (Cls() == 0) {
    EXPECT_EQ(Bits(a.re), Bits(b.re));
    EXPECT_EQ(Bits(a.im), Bits(b.im));
  }
}

TEST_P(SumTest, ArgumentChecks) {
  float f[4] = {1, 2, 3, 4};
  float s = 42;
  ComplexFloat32 cs{42, 42};
  const auto* c = reinterpret_cast<const ComplexFloat32*>(f);
  EXPECT_EQ(VectorSumFloat32(nullptr, 0, &s, 0), StatusNullPointer);
  EXPECT_EQ(VectorSumFloat32(f, 4, nullptr, 0), StatusNullPointer);
  EXPECT_EQ(VectorSumComplexFloat32(nullptr, 0, &cs, 1), StatusNullPointer);
  EXPECT_EQ(VectorSumComplexFloat32(c, 2, nullptr, 1), StatusNullPointer);
  for (int32_t n : {0, -3}) {
    EXPECT_EQ(VectorSumFloat32(f, n, &s, 0), StatusBadCount);
    EXPECT_EQ(VectorSumComplexFloat32(c, n, &cs, 0), StatusBadCount);
  }
  EXPECT_EQ(s, 42.0f);
  EXPECT_EQ(cs.re, 42.0f);
}

// Vectors ending right before a PROT_NONE page: nothing past the last element is read.
TEST_P(SumTest, NoRoadReadsPastTheLastElement) {
  for (int n = 1; n <= 100; ++n) {
    for (size_t shift : {0, 4, 8, 12, 16, 24, 32, 40, 56, 2}) {
      GuardedBuffer g(n * 8 + shift);
      std::memset(g.data(), 0, g.size());
      const auto* p = reinterpret_cast<const float*>(g.data() + g.size() - n * 4);
      const auto* c = reinterpret_cast<const ComplexFloat32*>(g.data() + g.size() - n * 8);
      float s;
      ComplexFloat32 cs;
      for (int32_t hint : {HintAccurate, HintFast}) {
        ASSERT_EQ(VectorSumFloat32(p, n, &s, hint), StatusOk);
        ASSERT_EQ(VectorSumComplexFloat32(c, n, &cs, hint), StatusOk);
      }
    }
  }
}

LV_INSTANTIATE_PER_CLASS(SumTest);

// One crafted vector whose sums differ between the class groups with different
// addition orders, and every class reproduces its own.
TEST(SumAcrossClasses, OneVectorTellsTheClassGroupsApart) {
  const size_t n = 1000;
  const uintptr_t addr = 4;  // 4 mod 64: every class takes a head
  // Find data on which the groups' models all differ.
  std::vector<float> data;
  for (uint32_t seed = 1; seed < 2000; ++seed) {
    data = OrderSensitive(seed, n);
    std::set<uint32_t> seen;
    for (int cls : {0, 1, 4, 6, 7}) seen.insert(Bits(ModelFloat(cls, data.data(), addr, n, HintAccurate)));
    if (seen.size() == 5) break;
    data.clear();
  }
  ASSERT_FALSE(data.empty()) << "no vector separates the class groups";
  CanaryBuffer buf(n * 4, 4);
  std::memcpy(buf.region(), data.data(), n * 4);
  const auto* src = reinterpret_cast<const float*>(buf.region());
  std::set<uint32_t> results;
  for (int cls = 0; cls < kProcessorClassCount; ++cls) {
    if (!IsProcessorClassRunnable(cls)) continue;
    ScopedProcessorClass force(cls);
    float s;
    ASSERT_EQ(VectorSumFloat32(src, n, &s, HintAccurate), StatusOk);
    EXPECT_EQ(Bits(s), Bits(ModelFloat(cls, data.data(), reinterpret_cast<uintptr_t>(src), n, HintAccurate)))
        << ProcessorClassSuffix(cls);
    results.insert(Bits(s));
  }
  EXPECT_GE(results.size(), 5u) << "the class groups add in different orders";
}

}  // namespace
