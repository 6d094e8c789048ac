// Tables of the portable FFT (class 0): quarter-wave sine tables, twiddle
// triples, pairs-format swap lists, the large-order plan with its combine,
// outer and column tables, and the scalar bit reversal they drive. Every
// expected value is derived here from the definitions (direct bit reversal,
// the quarter-wave look-up written out), not from the builders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "fft/setup/fft_spec.h"
#include "fft/kernels/butterfly.h"
#include "fft/kernels/small_kernels.h"
#include "fft/setup/permute.h"
#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "support/bits.h"
#include "support/guarded_buffer.h"
#include "vmath/sincos/sincos.h"

#include "fft_table_check.h"

namespace {

using namespace fft_table_check;

TEST(FftSwapList, ExamplesAndDefinition) {
  const struct {
    int order;
    std::vector<int32_t> list;
  } examples[] = {
      {2, {0, 0}},
      {3, {0, 4, 0}},
      {5, {4, 16, 12, 24, 0, 28, 20, 8, 0}},
      {6, {4, 32, 8, 16, 12, 48, 20, 40, 28, 56, 44, 52, 0, 60, 36, 24, 0}},
  };
  for (const auto& e : examples) {
    std::vector<int32_t> out(64, -1);
    int32_t* start = Align64(out.data());
    int32_t* end = MakeBitReverseListSse2(e.order, start);
    EXPECT_EQ(std::vector<int32_t>(start, start + e.list.size()), e.list) << e.order;
    EXPECT_EQ(end, Align64(start + e.list.size())) << e.order;
    EXPECT_EQ(e.list, ReferencePairsList(e.order));
  }
  for (int order = 2; order <= 16; ++order) {
    const std::vector<int32_t> want = ReferencePairsList(order);
    std::vector<int32_t> out(want.size() + 32, -1);
    int32_t* start = Align64(out.data());
    MakeBitReverseListSse2(order, start);
    ASSERT_EQ(std::vector<int32_t>(start, start + want.size()), want) << order;
    // Nothing behind the list's b + 1 entries is written.
    EXPECT_EQ(start[want.size()], -1) << order;
  }
  // The order-12 list: 496 pairs, the separating 0, 31 self-reversed groups, 0.
  const std::vector<int32_t> list12 = ReferencePairsList(12);
  ASSERT_EQ(list12.size(), 1025u);
  EXPECT_EQ(list12[992], 0);
  EXPECT_NE(list12[991], 0);
  EXPECT_EQ(list12[1024], 0);
  for (int i = 993; i < 1024; ++i) EXPECT_GE(list12[i], 4);
}

// A list 16 bytes past a 64-byte boundary (as behind the header) ends on a
// boundary: order 6 writes 68 bytes and returns the boundary 256 bytes on.
TEST(FftSwapList, EndsOnTheNextBoundary) {
  std::vector<uint8_t> mem(512, 0);
  uint8_t* base = Align64(mem.data());
  int32_t* end = MakeBitReverseListSse2(6, reinterpret_cast<int32_t*>(base + 144));
  EXPECT_EQ(reinterpret_cast<uint8_t*>(end), base + 256);
}

// dst[rev(i)] = src[i] for every element, copy and in place, with bit
// patterns that include NaN payloads and negative zero.
TEST(FftScalarBitReversal, ExactPermutations) {
  for (int order = 0; order <= 17; ++order) {
    const int64_t n = int64_t{1} << order;
    std::vector<uint32_t> words(2 * n);
    uint32_t s = 0x12345u + order;
    for (auto& w : words) {
      s = s * 1664525u + 1013904223u;
      w = s;
    }
    words[0] = 0x7FC01234u;  // a quiet NaN with a payload
    words[1] = 0x80000000u;  // -0.0
    std::vector<ComplexFloat32> src(n), dst(n, {0.0f, 0.0f});
    std::memcpy(src.data(), words.data(), 8 * n);
    // The in-place array sits 4 bytes off an 8-byte boundary: float
    // alignment is all the routines need.
    std::vector<float> raw(2 * n + 2);
    ComplexFloat32* inPlace = reinterpret_cast<ComplexFloat32*>(
        raw.data() + ((reinterpret_cast<uintptr_t>(raw.data()) % 8 == 0) ? 1 : 0));
    std::memcpy(inPlace, src.data(), 8 * n);
    const std::vector<ComplexFloat32> before(src);
    std::vector<int32_t> list;
    if (order >= 2) list = ReferencePairsList(order);
    // Copy below 8 points and in place below 4 points read no list.
    BitReverseCopyScalarSse2(src.data(), dst.data(), static_cast<int32_t>(n), n < 8 ? nullptr : list.data());
    BitReverseInPlaceScalarSse2(inPlace, static_cast<int32_t>(n), n < 4 ? nullptr : list.data());
    for (int64_t i = 0; i < n; ++i) {
      const int64_t r = Reverse(i, order);
      ASSERT_TRUE(Same(dst[r], src[i])) << "copy, order " << order << " element " << i;
      ASSERT_TRUE(Same(inPlace[r], src[i])) << "in place, order " << order << " element " << i;
    }
    EXPECT_TRUE(lv_test::SameBits(src, before)) << "the copy leaves its source alone";
  }
  // Eight points: elements 0, 4, 2, 6, 1, 5, 3, 7.
  std::vector<ComplexFloat32> x(8), y(8);
  for (int i = 0; i < 8; ++i) x[i] = {static_cast<float>(i), 0.0f};
  const int32_t list8[] = {0, 4, 0};
  BitReverseCopyScalarSse2(x.data(), y.data(), 8, list8);
  const float want[] = {0, 4, 2, 6, 1, 5, 3, 7};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(y[i].re, want[i]);
}

// A list without its zeros (a damaged specification) keeps both walks inside
// the list's n/4 + 1 entries: the list ends at a guard page.
TEST(FftScalarBitReversal, WalkStaysInsideTheList) {
  lv_test::GuardedBuffer guarded(17 * 4, 4);
  int32_t* list = guarded.as<int32_t>();
  for (int i = 0; i < 17; ++i) list[i] = 4 + 4 * (i % 3);
  std::vector<ComplexFloat32> a(64, {1.0f, 2.0f}), b(64, {0.0f, 0.0f});
  BitReverseCopyScalarSse2(a.data(), b.data(), 64, list);
  BitReverseInPlaceScalarSse2(a.data(), 64, list);
  EXPECT_EQ(b[2].re, 1.0f);
}

TEST(FftTwiddleTriples, OrderSixGroupsFromTheFixedTable) {
  std::vector<float> out(6 * 17 + 64, 99.0f);
  float* start = Align64(out.data());
  float* end = ExpandRadix4TwiddlesSse2(6, kFftQuarterSineOrder10, 10, start);
  EXPECT_EQ(end, start + 112);  // 408 bytes rounded up to 448
  const float h = 0.70710677f;
  const float groups[3][6] = {{1.0f, -0.0f, 1.0f, -0.0f, 1.0f, -0.0f},
                              {h, -h, 0.0f, -1.0f, -h, -h},
                              {0.0f, -1.0f, -1.0f, -0.0f, -0.0f, 1.0f}};
  const int index[3] = {0, 8, 16};
  for (int g = 0; g < 3; ++g) {
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(Bits(start[6 * index[g] + i]), Bits(groups[g][i])) << "group " << index[g] << " float " << i;
    }
  }
  EXPECT_EQ(start[6 * 17], 99.0f) << "nothing past the 17 groups";
}

// The generated sine table of order 11 (2048 points).
TEST(FftSineTable, GeneratedOrder11) {
  std::vector<float> mem(513 + 64 + 64, 7.0f);
  float* table = Align64(mem.data());
  float* end = MakeSineTableSse2(11, table);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(end), reinterpret_cast<uint8_t*>(table) + 2112);
  const double x = 6.283185307179586 / 2048.0;
  for (int k = 0; k <= 512; ++k) {
    float angle = static_cast<float>(static_cast<double>(k <= 256 ? k : 512 - k) * x);
    float want;
    if (k <= 256) {
      SinFloat32StubSse2(&angle, &want, 1);
    } else {
      CosFloat32StubSse2(&angle, &want, 1);
    }
    ASSERT_EQ(Bits(table[k]), Bits(want)) << k;
  }
  EXPECT_EQ(Bits(table[0]), 0u);
  EXPECT_EQ(table[512], 1.0f);
  EXPECT_EQ(table[513], 7.0f);
}

TEST(FftPlan, MediumOrdersTriplesFromTheFixedTable) {
  for (int order = 6; order <= 10; ++order) {
    Spec s;
    BuildSpec(order, &s);
    uint8_t* base = s.base();
    EXPECT_EQ(s.header->swapList, base + 144);
    const std::vector<int32_t> list = ReferencePairsList(order);
    EXPECT_TRUE(lv_test::SameBits(reinterpret_cast<const int32_t*>(base + 144), list.data(), list.size())) << order;
    EXPECT_EQ(s.header->twiddles, Align64(base + 144 + 4 * list.size()));
    CheckTriples(static_cast<const uint8_t*>(s.header->twiddles), order, kFftQuarterSineOrder10, 10);
    EXPECT_EQ(s.header->workBytes, 0);
    EXPECT_EQ(s.header->combineTable, nullptr);
    EXPECT_EQ(s.header->outerTables[0], nullptr);
    EXPECT_EQ(s.header->columnTables[0], nullptr);
  }
}

class FftPlanOrder : public testing::TestWithParam<int> {};

TEST_P(FftPlanOrder, EveryTableInPlaceAndEveryTwiddleALookUp) { CheckPlan(GetParam()); }

// 11, 12: combine leaves alone; 13-20: one level; 21, 22: combine-pass rows;
// 23: depth 1 (orders 24 to 27 run in the huge tests).
INSTANTIATE_TEST_SUITE_P(Orders, FftPlanOrder, testing::Range(11, 24));

// The column table of order 13 holds, for column 1, the rows in the order
// 0, 16, 8, 24, 4, ..; its first pair is (1.0, -0.0).
TEST(FftPlan, Order13ColumnRowsAreBitReversed) {
  Spec s;
  BuildSpec(13, &s);
  const ComplexFloat32* w = static_cast<const ComplexFloat32*>(s.header->columnTables[0]);
  EXPECT_EQ(Bits(w[0].re), Bits(1.0f));
  EXPECT_EQ(Bits(w[0].im), Bits(-0.0f));
  const int rowOrder[] = {0, 16, 8, 24, 4};
  const int64_t q = 8192 / 4;
  for (int r = 0; r < 5; ++r) {
    EXPECT_TRUE(Same(w[4 * r + 1], Lookup(s.sine, q, rowOrder[r]))) << r;
  }
}

// The work-buffer size the plan stores, and the size query's 64 bytes more:
// none up to order 12, then 32 * 2^n for the largest outer order n on the way
// down (1024 bytes at order 13, 32768 at order 21).
TEST(FftPlan, WorkBufferSizes) {
  for (int order = 11; order <= 22; ++order) {
    Spec s;
    BuildSpec(order, &s);
    int32_t sb, ib, wb;
    ASSERT_EQ(FftGetSizeComplexFloat32Sse2(order, 8, 0, &sb, &ib, &wb), 0);
    EXPECT_EQ(wb, s.header->workBytes ? s.header->workBytes + 64 : 0) << order;
    EXPECT_EQ(s.header->workBytes == 0, order <= 12) << order;
    if (order > 12) {
      EXPECT_EQ(s.header->workBytes, 32 << kFftOrderSplitSse2[order]) << order;
    }
  }
  Spec thirteen, twentyOne;
  BuildSpec(13, &thirteen);
  BuildSpec(21, &twentyOne);
  EXPECT_EQ(thirteen.header->workBytes, 1024);
  EXPECT_EQ(twentyOne.header->workBytes, 32768);
  // Orders 23 to 27 (one level deeper) through the size query: the larger
  // outer order of the two levels (their plans run in the huge tests).
  for (int order = 23; order <= 27; ++order) {
    int32_t sb, ib, wb;
    ASSERT_EQ(FftGetSizeComplexFloat32Sse2(order, 1, 0, &sb, &ib, &wb), 0);
    const int inner = order - kFftOrderSplitSse2[order];
    const int largest = std::max(kFftOrderSplitSse2[order], kFftOrderSplitSse2[inner]);
    EXPECT_EQ(wb, (32 << largest) + 64) << order;
  }
}

}  // namespace
