// Size query, initialisation and tables of the vector processor classes 1 to
// 7, each class called directly and checked against the model of
// fft_vector_model.h.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fft/fft.h"
#include "fft/fft_classes.h"
#include "fft/setup/permute.h"
#include "fft/setup/setup.h"
#include "fft/setup/fft_spec.h"
#include "fft/setup/many_core_plan.h"
#include "fft_vector_model.h"
#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"
#include "tests/fft/stage_rule.h"

namespace {

using namespace fftv_model;
using lv_test::SameBits;

class FftVectorSetupTest : public lv_test::PerClassTest {
 protected:
  const VectorClass& K() const { return Class(Cls()); }
};

INSTANTIATE_TEST_SUITE_P(Classes, FftVectorSetupTest, ::testing::Range(1, kProcessorClassCount),
                         ::lv_test::ClassParamName);

// ---- size query -----------------------------------------------------------

TEST_P(FftVectorSetupTest, SizeQueryMatchesTheFormulasForEveryOrderFlagAndHint) {
  for (int order = -1; order <= 31; ++order) {
    for (int flag : {-1, 0, 1, 2, 3, 4, 5, 8, 16}) {
      for (int hint : {0, 2, 7}) {
        int32_t s = -1, i = -1, w = -1;
        const int32_t status = K().getSize(order, flag, hint, &s, &i, &w);
        const bool flagOk = flag == 1 || flag == 2 || flag == 4 || flag == 8;
        const int32_t want = (order < 0 || order > 30) ? -15 : !flagOk ? -16 : order > 28 ? -15 : 0;
        ASSERT_EQ(status, want) << order << " " << flag;
        if (status != 0) {
          EXPECT_EQ(s, -1);
          EXPECT_EQ(i, -1);
          EXPECT_EQ(w, -1);
          continue;
        }
        int64_t e[3];
        ExpectedCounts(Cls(), order, e);
        EXPECT_EQ(s, e[0]) << order;
        EXPECT_EQ(i, e[1]) << order;
        EXPECT_EQ(w, e[2]) << order;
      }
    }
  }
}

TEST_P(FftVectorSetupTest, SizeQueryChecksInTheirOrder) {
  struct Case {
    int order, flag;
    bool nullOut;
    int32_t status;
  } cases[] = {
      {-1, 3, true, -15}, {31, 3, true, -15}, {40, 2, false, -15}, {29, 3, true, -8},
      {29, 3, false, -16}, {29, 2, false, -15}, {28, 2, false, 0},  {5, 3, true, -8},
      {5, 0, false, -16}, {12, 8, true, -8},
  };
  for (const Case& c : cases) {
    int32_t s = -1, i = -1, w = -1;
    EXPECT_EQ(K().getSize(c.order, c.flag, 0, &s, c.nullOut ? nullptr : &i, &w), c.status) << c.order << " " << c.flag;
    EXPECT_EQ(K().getSize(c.order, c.flag, 0, c.nullOut ? nullptr : &s, &i, &w), c.status) << c.order;
    EXPECT_EQ(K().getSize(c.order, c.flag, 0, &s, &i, c.nullOut ? nullptr : &w), c.status) << c.order;
  }
}

// The work sizes of the large orders (exactly the formulas above; the plans
// store them less 64, see the plan tests): never below 65600 bytes from the
// blocked threshold on (the tile buffer), and at least a column block of 2^T
// points and a leaf transform.
TEST_P(FftVectorSetupTest, SizeQueryReportsThePlanWorkSizes) {
  int visited = 0;
  for (int order = K().leaf + 1; order <= 28; ++order) {
    int32_t s, i, w;
    ASSERT_EQ(K().getSize(order, 2, 2, &s, &i, &w), 0);
    if (order >= K().threshold) {
      EXPECT_GE(w, 65600) << order;
    }
    EXPECT_GE(w, 8 * (int64_t{1} << ColumnBlock(Cls(), order)) + 64) << order;
    int leafOrder = order - Split(Cls(), order);
    while (leafOrder > K().leaf) leafOrder -= Split(Cls(), leafOrder);
    EXPECT_GE(w, 8 * (int64_t{1} << leafOrder) + 64) << order;
    ++visited;
  }
  EXPECT_GT(visited, 0);
}

TEST(FftVectorSizeQuery, KnownCounts) {
  struct Case {
    int cls, order;
    int32_t spec, init, work;
  } cases[] = {
      {4, 19, 2364288, 524416, 262208}, {1, 0, 208, 0, 0},   {3, 5, 208, 0, 0},     {5, 6, 208, 0, 0},
      {7, 6, 208, 0, 0},                {6, 0, 200, 0, 0},   {6, 7, 200, 0, 0},     {1, 6, 960, 0, 576},
      {2, 6, 960, 0, 576},              {6, 8, 2688, 0, 2112}, {6, 11, 18816, 2176, 16448},
  };
  // Work sizes the design fixes: class 1 at order 17 (a 512 KB level,
  // 65536 bytes of work) and class 4 at order 19 (the inner transforms of
  // 2^15 points).
  const struct {
    int cls, order;
    int32_t work;
  } work[] = {{1, 17, 65536 + 64}, {4, 19, 262144 + 64}, {5, 19, 262144 + 64}, {7, 19, 262144 + 64}};
  for (const auto& c : work) {
    int32_t s = -1, i = -1, w = -1;
    ASSERT_EQ(Class(c.cls).getSize(c.order, 2, 2, &s, &i, &w), 0);
    EXPECT_EQ(w, c.work) << c.cls << "/" << c.order;
  }
  for (const Case& c : cases) {
    int32_t s = -1, i = -1, w = -1;
    ASSERT_EQ(Class(c.cls).getSize(c.order, 2, 2, &s, &i, &w), 0);
    EXPECT_EQ(s, c.spec) << c.cls << "/" << c.order;
    EXPECT_EQ(i, c.init) << c.cls << "/" << c.order;
    EXPECT_EQ(w, c.work) << c.cls << "/" << c.order;
  }
}

// The split tables that the plans and drivers read: the design's figures at
// every order where a value changes, and the invariants that fix the rest:
// 0 up to the leaf limit and a non-zero outer order n of 4, 6 or 8 at every
// large order; n and the column block T never fall as the order grows, T
// exceeds n; an inner order L - n that is itself a large order recurses only
// once (at the orders the design names); orders 29 and 30 repeat 28.
TEST(FftVectorSplitTables, DesignFiguresAndInvariants) {
  struct Spot {
    int order, n, t;
  };
  // Classes 1 / 2 and 3 / 4 to 7.
  const std::vector<Spot> one = {{17, 4, 9}, {18, 4, 10}, {20, 4, 10}, {21, 6, 13}, {22, 8, 15}, {28, 8, 15}};
  const std::vector<Spot> two = {{18, 4, 10}, {19, 4, 10}, {20, 8, 14}, {28, 8, 14}};
  const std::vector<Spot> four = {{19, 4, 10}, {22, 4, 10}, {23, 8, 14}, {28, 8, 14}};
  // The first order whose inner order is itself a large order.
  const int firstRecursive[8] = {0, 25, 26, 26, 27, 27, 27, 27};
  for (int cls = 1; cls <= 7; ++cls) {
    SCOPED_TRACE(ProcessorClassSuffix(cls));
    const VectorClass& k = Class(cls);
    for (const Spot& p : cls == 1 ? one : cls <= 3 ? two : four) {
      EXPECT_EQ(k.split[p.order], p.n) << "order " << p.order;
      EXPECT_EQ(k.columnBlock[p.order], p.t) << "order " << p.order;
    }
    for (int order = 0; order <= 30; ++order) {
      const int32_t n = k.split[order], t = k.columnBlock[order];
      if (order <= k.leaf) {
        EXPECT_EQ(n, 0) << order;
        EXPECT_EQ(t, 0) << order;
        continue;
      }
      EXPECT_TRUE(n == 4 || n == 6 || n == 8) << order;
      EXPECT_GT(t, n) << order;
      if (order > k.leaf + 1 && order <= 28) {
        EXPECT_GE(n, k.split[order - 1]) << order;
        EXPECT_GE(t, k.columnBlock[order - 1]) << order;
      }
      if (order <= 28) {
        const int inner = order - n;
        EXPECT_EQ(inner > k.leaf, order >= firstRecursive[cls]) << order;
        if (inner > k.leaf) {
          EXPECT_LE(inner - k.split[inner], k.leaf) << order;
        }
      }
    }
    EXPECT_EQ(k.split[29], k.split[28]);
    EXPECT_EQ(k.split[30], k.split[28]);
    EXPECT_EQ(k.columnBlock[29], k.columnBlock[28]);
    EXPECT_EQ(k.columnBlock[30], k.columnBlock[28]);
  }
  // Classes 4 to 7 hold the same values.
  for (int cls = 5; cls <= 7; ++cls) {
    EXPECT_TRUE(SameBits(Class(cls).split, Class(4).split, 31)) << cls;
    EXPECT_TRUE(SameBits(Class(cls).columnBlock, Class(4).columnBlock, 31)) << cls;
  }
  EXPECT_TRUE(SameBits(Class(3).split, Class(2).split, 31));
  EXPECT_TRUE(SameBits(Class(3).columnBlock, Class(2).columnBlock, 31));
}

// The stage sequences of the class rule against the design's figures: the
// radices after the first 4-point stage of a few orders of each rule, and
// which class-1 orders begin with a radix-8 stage.
TEST(FftVectorStageRule, DesignFigures) {
  using fft_stage_rule::StageRadices;
  using V = std::vector<int>;
  EXPECT_EQ(StageRadices(1, 6), (V{4, 4}));
  EXPECT_EQ(StageRadices(1, 9), (V{4, 8, 4}));
  EXPECT_EQ(StageRadices(1, 12), (V{4, 8, 8, 4}));
  EXPECT_EQ(StageRadices(1, 16), (V{4, 8, 8, 8, 8}));
  EXPECT_EQ(StageRadices(2, 7), (V{4, 8}));
  EXPECT_EQ(StageRadices(2, 8), (V{8, 8}));
  EXPECT_EQ(StageRadices(3, 15), (V{4, 4, 8, 8, 8}));
  EXPECT_EQ(StageRadices(2, 17), (V{8, 8, 8, 8, 8}));
  EXPECT_EQ(StageRadices(4, 7), (V{4, 8}));
  EXPECT_EQ(StageRadices(5, 11), (V{4, 8, 4, 4}));
  EXPECT_EQ(StageRadices(6, 12), (V{4, 4, 4, 4, 4}));
  EXPECT_EQ(StageRadices(7, 17), (V{4, 8, 4, 4, 4, 4, 4}));
  EXPECT_EQ(StageRadices(7, 18), (V{4, 4, 4, 4, 4, 4, 4, 4}));
  for (int order = 6; order <= 16; ++order) {
    const bool wide = order == 7 || order == 10 || order == 11 || order == 13 || order == 14;
    EXPECT_EQ(StageRadices(1, order).front(), wide ? 8 : 4) << order;
  }
  // Every sequence consumes exactly the order's index bits.
  for (int cls = 1; cls <= 7; ++cls) {
    for (int order = 6; order <= 18; ++order) {
      int bits = 2;
      for (int r : StageRadices(cls, order)) bits += r == 8 ? 3 : 2;
      EXPECT_EQ(bits, order) << cls << "/" << order;
    }
  }
}

// ---- initialisation ---------------------------------------------------------

float ExpectedScale(int order, int flag) {
  if (flag == 8) return 0.0f;
  if (flag == 1 || flag == 2) return std::ldexp(1.0f, -order);
  if (order % 2 == 0) return std::ldexp(1.0f, -order / 2);
  uint32_t bits = 0x3F3504F3u;  // the float nearest to sqrt(1/2)
  float half;
  std::memcpy(&half, &bits, 4);
  return std::ldexp(half, -(order - 1) / 2);
}

// Orders up to 10 are built in full; above 10 they are initialised without an
// init buffer: the header is then complete but refused (identifier 0), which
// shows its scale at every order up to 28 without the memory of the tables.
TEST_P(FftVectorSetupTest, InitWritesHeaderFieldsAndScalesForOrders0To28) {
  Aligned small(4096);
  for (int order = 0; order <= 28; ++order) {
    for (int flag : {1, 2, 4, 8}) {
      Built built;
      uint8_t* h = small.data;
      int32_t status = -1;
      if (order <= 10) {
        built = Build(K(), order, flag);
        status = built.status;
        h = reinterpret_cast<uint8_t*>(built.header);
        ASSERT_EQ(status, 0) << order;
      } else {
        std::memset(small.data, 0xCD, 4096);
        FftSpecComplexFloat32* out = nullptr;
        status = K().init(&out, order, flag, 2, small.data, nullptr);
        ASSERT_EQ(status, -8) << order;
        EXPECT_EQ(out, nullptr);
      }
      int32_t v[8];
      std::memcpy(v, h, 32);
      EXPECT_EQ(v[0], status == 0 ? 4 : 0) << order;
      EXPECT_EQ(v[1], order);
      EXPECT_EQ(v[2], flag == 1 || flag == 4 ? 1 : 0);
      EXPECT_EQ(v[3], flag == 2 || flag == 4 ? 1 : 0);
      float scale;
      std::memcpy(&scale, h + 16, 4);
      EXPECT_EQ(scale, ExpectedScale(order, flag)) << order << " " << flag;
      EXPECT_EQ(v[5], 2);
      EXPECT_EQ(v[7], 0);
      const bool manyCore = Cls() == 6 && order <= 16;
      const bool headerOnly = manyCore ? order <= 7 : order <= K().small;
      if (headerOnly || status != 0) {
        EXPECT_EQ(v[6], 0) << order;
        const int header = manyCore ? 136 : 144;
        for (int o = 32; o < header; ++o) ASSERT_EQ(h[o], 0) << order << " byte " << o;
        if (status != 0) {
          EXPECT_EQ(h[header], 0xCD) << "the header is " << header << " bytes";
        }
      }
    }
  }
  float scale = -1;
  Built b = Build(K(), 7, 4);
  ASSERT_EQ(b.status, 0);
  std::memcpy(&scale, reinterpret_cast<uint8_t*>(b.header) + 16, 4);
  EXPECT_EQ(scale, 0.088388346f);
}

TEST_P(FftVectorSetupTest, MediumOrdersSetTheTablePointersAndWorkSize) {
  const int first = Cls() == 6 ? 17 : K().small + 1;
  for (int order = first; order <= K().leaf; ++order) {
    Built b = Build(K(), order, 8);
    ASSERT_EQ(b.status, 0) << order;
    uint8_t* base = reinterpret_cast<uint8_t*>(b.header);
    EXPECT_EQ(b.header->identifier, 4);
    EXPECT_EQ(b.header->swapList, base + 144) << order;
    const uintptr_t listEnd = reinterpret_cast<uintptr_t>(base) + 144 + 4 * ((int64_t{1} << order) / 4 + 1);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b.header->twiddles), A64(listEnd)) << order;
    EXPECT_EQ(b.header->workBytes, A64(8 * (int64_t{1} << order))) << order;
    EXPECT_EQ(b.header->workBytes + 64, b.sizes[2]);
    EXPECT_EQ(b.header->combineTable, nullptr);
    for (int d = 0; d < 3; ++d) {
      EXPECT_EQ(b.header->columnTables[d], nullptr);
      EXPECT_EQ(b.header->outerTables[d], nullptr);
    }
  }
}

TEST_P(FftVectorSetupTest, InitFailuresWriteNoOutputAndLeaveIdentifierZero) {
  Aligned mem(1 << 16);
  FftSpecComplexFloat32 dummy;
  FftSpecComplexFloat32* const sentinel = &dummy;
  FftSpecComplexFloat32* out = sentinel;
  EXPECT_EQ(K().init(nullptr, 5, 3, 0, mem.data, nullptr), -8);
  EXPECT_EQ(mem.data[0], 0xCD);
  EXPECT_EQ(K().init(&out, 40, 3, 0, mem.data, nullptr), -15);
  EXPECT_EQ(K().init(&out, 29, 2, 0, mem.data, nullptr), -15);
  EXPECT_EQ(K().init(&out, -1, 2, 0, nullptr, nullptr), -15);
  EXPECT_EQ(K().init(&out, 5, 3, 0, nullptr, nullptr), -8);
  EXPECT_EQ(mem.data[0], 0xCD) << "nothing written before the memory checks pass";

  // A refused flag: header cleared, order and hint written, identifier 0.
  EXPECT_EQ(K().init(&out, 5, 3, 7, mem.data, nullptr), -16);
  int32_t v[8];
  std::memcpy(v, mem.data, 32);
  EXPECT_EQ(v[0], 0);
  EXPECT_EQ(v[1], 5);
  EXPECT_EQ(v[5], 7);
  EXPECT_EQ(out, sentinel);

  // A missing init buffer at order 11 (order 17 on class 6 for its ordinary
  // path): identifier 0 over an earlier valid specification.
  for (int order : {11, 17}) {
    int32_t s, i, w;
    ASSERT_EQ(K().getSize(order, 2, 0, &s, &i, &w), 0);
    ASSERT_GT(i, 0);
    Aligned big(s);
    Aligned init(i);
    ASSERT_EQ(K().init(&out, order, 2, 0, big.data, init.data), 0);
    ASSERT_EQ(big.as<int32_t>()[0], 4);
    out = sentinel;
    EXPECT_EQ(K().init(&out, order, 2, 0, big.data, nullptr), -8) << order;
    EXPECT_EQ(big.as<int32_t>()[0], 0) << order;
    EXPECT_EQ(out, sentinel);
  }
  // Order 10 needs no init buffer.
  Built b = Build(K(), 10);
  EXPECT_EQ(b.status, 0);
}

TEST_P(FftVectorSetupTest, MisalignedSpecificationMemoryIsRoundedUp) {
  for (int order : {3, 12}) {
    for (size_t offset : {size_t{1}, size_t{8}, size_t{63}}) {
      Built b = Build(K(), order, 2, offset);
      ASSERT_EQ(b.status, 0);
      EXPECT_EQ(reinterpret_cast<uint8_t*>(b.header), b.spec->data + (64 - offset));
      if (!(Cls() == 6 && order <= 16) && order > K().small) {
        EXPECT_EQ(b.header->swapList, reinterpret_cast<uint8_t*>(b.header) + 144);
      }
    }
  }
}

// Initialisation writes nothing outside the reported sizes, at any alignment
// of the specification memory.
void CheckCanaries(const VectorClass& k, int order, size_t offset) {
  int32_t s, i, w;
  ASSERT_EQ(k.getSize(order, 4, 2, &s, &i, &w), 0);
  lv_test::CanaryBuffer spec(s, offset);
  lv_test::CanaryBuffer init(i, (offset * 7) % 64);
  FftSpecComplexFloat32* out = nullptr;
  ASSERT_EQ(k.init(&out, order, 4, 2, spec.region(), i > 0 ? init.region() : nullptr), 0) << order;
  EXPECT_TRUE(spec.CanariesIntact()) << "order " << order << " offset " << offset;
  EXPECT_TRUE(init.CanariesIntact()) << "order " << order << " offset " << offset;
  const uint8_t* base = reinterpret_cast<uint8_t*>(out);
  EXPECT_LE(base + 144 - spec.region(), s);
}

TEST_P(FftVectorSetupTest, InitWritesNothingPastTheReportedSizes) {
  for (int order = 0; order <= 20; ++order) {
    for (size_t offset : {size_t{0}, size_t{16}, size_t{63}}) {
      CheckCanaries(K(), order, offset);
    }
  }
}

// ---- quarter-wave sine table ---------------------------------------------

TEST_P(FftVectorSetupTest, GeneratedSineTableIsTheClassSineOfRoundedAngles) {
  for (int order : {11, 12, 15}) {
    const int64_t n = int64_t{1} << order;
    const int64_t q = n / 4, h = n / 8;
    Aligned t(n + 256, 0, 0xEE);
    void* end = K().sine(order, t.as<float>());
    EXPECT_EQ(end, t.data + A64(n + 4)) << order;
    EXPECT_EQ(t.data[4 * (q + 1)], 0xEE) << "nothing past entry Q";
    std::vector<float> angle(q + 1), want(q + 1);
    const double step = 2.0 * 3.141592653589793 / static_cast<double>(n);
    for (int64_t k = 0; k <= q; ++k) angle[k] = static_cast<float>(static_cast<double>(k <= h ? k : q - k) * step);
    K().sin(angle.data(), want.data(), static_cast<int32_t>(h + 1));
    K().cos(angle.data() + h + 1, want.data() + h + 1, static_cast<int32_t>(h));
    EXPECT_TRUE(SameBits(t.as<float>(), want.data(), q + 1)) << order;
    EXPECT_EQ(t.as<float>()[q], 1.0f);
    EXPECT_FALSE(std::signbit(t.as<float>()[0]));
    EXPECT_EQ(t.as<float>()[0], 0.0f);
  }
}

TEST(FftVectorSineTable, ClassesOneToThreeBuildIdenticalTables) {
  const std::vector<float> one = SineTable(Class(1), 13);
  EXPECT_TRUE(SameBits(one.data(), SineTable(Class(2), 13).data(), one.size()));
  EXPECT_TRUE(SameBits(one.data(), SineTable(Class(3), 13).data(), one.size()));
  EXPECT_TRUE(SameBits(one.data(), SineTable(Class(1), 13).data(), one.size()));
}

// ---- stage blocks -----------------------------------------------------------

TEST_P(FftVectorSetupTest, StageBlocksFollowTheStageSequenceOfEveryTableOrder) {
  // The orders the builders are given: from 6 (classes 1 to 3) or 7 up to
  // the leaf limit.
  for (int order = Cls() >= 4 ? 7 : 6; order <= K().leaf; ++order) {
    const std::vector<int> stages = Stages(Cls(), order);
    const std::vector<float> sine = SineTable(K(), order);
    const int b = order <= 10 ? 10 : order;
    const int64_t n = int64_t{1} << order;
    Aligned out(8 * n + 128, 0, 0xEE);
    void* end = K().expand(order, sine.data(), b, out.as<float>());
    EXPECT_EQ(end, out.data + 8 * n) << order;
    const std::vector<float> want = ModelStageTable(order, stages, K().v, sine.data(), b);
    EXPECT_TRUE(SameBits(out.as<float>(), want.data(), want.size())) << "order " << order;
    for (int64_t i = 8 * n - 32; i < 8 * n + 128; ++i) ASSERT_EQ(out.data[i], 0xEE) << "order " << order << " byte " << i;
  }
}

// Every medium order's specification holds the twiddles of its own sine table.
TEST_P(FftVectorSetupTest, InitTwiddlesAreTheQuarterWaveLookUp) {
  const int first = Cls() == 6 ? 17 : K().small + 1;
  for (int order = first; order <= K().leaf; ++order) {
    Built b = Build(K(), order);
    ASSERT_EQ(b.status, 0);
    const std::vector<float> sine = SineTable(K(), order);
    const std::vector<float> want =
        ModelStageTable(order, Stages(Cls(), order), K().v, sine.data(), order <= 10 ? 10 : order);
    EXPECT_TRUE(SameBits(static_cast<const float*>(b.header->twiddles), want.data(), want.size())) << order;
  }
}

// The look-up itself against cosine and sine, with the signs of its zeros.
TEST(FftVectorTwiddles, FixedTableTwiddlesAreCosineAndMinusSine) {
  const std::vector<float> sine(kFftQuarterSineOrder10, kFftQuarterSineOrder10 + 257);
  Aligned out(8 * 1024);
  ExpandRadix4TwiddlesSse3(10, sine.data(), 10, out.as<float>());
  const std::vector<int> stages = Stages(1, 10);
  const float* p = out.as<float>();
  int o = 2;
  for (int r : stages) {
    const int od = o + (r == 8 ? 3 : 2);
    const int d = 1 << od;
    for (int j0 = 0; j0 < d / r; j0 += 4) {
      for (int k = 1; k < r; ++k, p += 8) {
        for (int i = 0; i < 4; ++i) {
          const int m = k * (j0 + i);
          const double angle = 2.0 * 3.141592653589793 * m / d;
          EXPECT_NEAR(p[i], std::cos(angle), 1e-7) << d << " " << m;
          EXPECT_NEAR(p[4 + i], -std::sin(angle), 1e-7) << d << " " << m;
          if (m == 0) {
            EXPECT_TRUE(std::signbit(p[4 + i]));
          }
          if (4 * m == d) {
            EXPECT_FALSE(std::signbit(p[i]));
          }
        }
      }
    }
    o = od;
  }
}

TEST(FftVectorTwiddles, KnownFirstBlocks) {
  const float* sine = kFftQuarterSineOrder10;
  Aligned one(8 * 64, 0, 0xEE);
  EXPECT_EQ(ExpandRadix4TwiddlesSse3(6, sine, 10, one.as<float>()), one.data + 512);
  const float first[24] = {1.0f,  0.9238795f,  0.70710677f,  0.38268343f, -0.0f, -0.38268343f, -0.70710677f, -0.9238795f,
                           1.0f,  0.70710677f, 0.0f,         -0.70710677f, -0.0f, -0.70710677f, -1.0f,        -0.70710677f,
                           1.0f,  0.38268343f, -0.70710677f, -0.9238795f, -0.0f, -0.9238795f,  -0.70710677f, 0.38268343f};
  EXPECT_TRUE(SameBits(one.as<float>(), first, 24));
  EXPECT_EQ(one.data[480], 0xEE);
  // Class 4, order 7: a 24-float first block, then two radix-8 groups of 112.
  Aligned four(8 * 128, 0, 0xEE);
  EXPECT_EQ(ExpandRadix4TwiddlesAvx(7, sine, 10, four.as<float>()), four.data + 1024);
  EXPECT_TRUE(SameBits(four.as<float>(), first, 24));
  EXPECT_EQ(four.data[992], 0xEE);
  EXPECT_NE(four.data[991], 0xEE);
  float re, im;
  Twiddle(sine, 10, 1, 128, &re, &im);  // W_128^1 of lane 1 of the first radix-8 group
  EXPECT_EQ(four.as<float>()[24 + 1], re);
  EXPECT_EQ(four.as<float>()[24 + 8 + 1], im);
}

// ---- swap lists -------------------------------------------------------------

TEST_P(FftVectorSetupTest, CompleteSwapListOfEveryMediumOrder) {
  for (int order = 2; order <= 18; ++order) {
    const int64_t b = (int64_t{1} << order) / 4;
    Aligned out(4 * (b + 1) + 192, 16, 0xEE);  // 16 bytes past a boundary, like base + 144
    void* end = K().list(order, out.as<int32_t>());
    EXPECT_EQ(end, out.data - 16 + A64(16 + 4 * (b + 1))) << order;
    for (int64_t i = 0; i < b; ++i) {
      ASSERT_EQ(out.as<int32_t>()[i], static_cast<int32_t>(2 * Reverse(static_cast<uint32_t>(i), order - 2)))
          << order << " " << i;
    }
    EXPECT_EQ(out.as<int32_t>()[b], 0);
    EXPECT_EQ(out.data[4 * (b + 1)], 0xEE);
  }
  Aligned six(256, 16);
  K().list(6, six.as<int32_t>());
  const int32_t want[17] = {0, 16, 8, 24, 4, 20, 12, 28, 2, 18, 10, 26, 6, 22, 14, 30, 0};
  EXPECT_TRUE(SameBits(six.as<int32_t>(), want, 17));
}

TEST_P(FftVectorSetupTest, PairsListsOfKnownOrders) {
  struct Case {
    int order;
    std::vector<int32_t> entries;
  } cases[] = {
      {2, {0, 0}},
      {3, {0, 4, 0}},
      {5, {4, 16, 12, 24, 0, 28, 20, 8, 0}},
      {6, {4, 32, 8, 16, 12, 48, 20, 40, 28, 56, 44, 52, 0, 60, 36, 24, 0}},
  };
  for (const Case& c : cases) {
    Aligned out(256, 0, 0xEE);
    K().tileList(c.order, out.as<int32_t>());
    EXPECT_TRUE(SameBits(out.as<int32_t>(), c.entries.data(), c.entries.size())) << c.order;
    EXPECT_EQ(out.data[4 * c.entries.size()], 0xEE) << c.order;
  }
  // Order 12: 496 pairs, the 0, 31 self-reversed entries, the closing 0.
  Aligned t(4 * 1025 + 64);
  K().tileList(12, t.as<int32_t>());
  const int32_t* e = t.as<int32_t>();
  for (int p = 0; p < 496; ++p) {
    ASSERT_GE(e[2 * p], 4);
    ASSERT_EQ(static_cast<uint32_t>(e[2 * p + 1] / 4), Reverse(static_cast<uint32_t>(e[2 * p] / 4), 10));
    ASSERT_LT(e[2 * p], e[2 * p + 1]);
  }
  EXPECT_EQ(e[992], 0);
  for (int s = 993; s < 1024; ++s) {
    ASSERT_EQ(static_cast<uint32_t>(e[s] / 4), Reverse(static_cast<uint32_t>(e[s] / 4), 10)) << s;
    ASSERT_GE(e[s], 4);
    ASSERT_GT(e[s - 1] == 0 ? 1 << 30 : e[s - 1], e[s]);
  }
  EXPECT_EQ(e[1024], 0);
}

TEST_P(FftVectorSetupTest, BlockedListsHoldOffsetsThenTheTileList) {
  Aligned tile(4 * 1025 + 64);
  K().tileList(12, tile.as<int32_t>());
  for (int order : {19, 20, 22}) {
    const int64_t m = (int64_t{1} << order) / 4096;
    const int64_t entries = m + 1025;
    Aligned out(4 * entries + 192, 16, 0xEE);
    void* end = K().blocked(order, 6, out.as<int32_t>());
    EXPECT_EQ(end, out.data - 16 + A64(16 + 4 * entries)) << order;
    EXPECT_EQ(out.data[4 * entries], 0xEE) << order << ": " << entries << " entries";
    const int32_t* e = out.as<int32_t>();
    for (int64_t i = 0; i < m; ++i) {
      ASSERT_EQ(e[i], static_cast<int32_t>(64 * Reverse(static_cast<uint32_t>(i), order - 12))) << order << " " << i;
    }
    EXPECT_TRUE(SameBits(e + m, tile.as<int32_t>(), 1025)) << order;
  }
  Aligned twenty(4 * 1281 + 64, 16);
  K().blocked(20, 6, twenty.as<int32_t>());
  const int32_t head[6] = {0, 8192, 4096, 12288, 2048, 10240};
  const int32_t tileHead[8] = {4, 2048, 8, 1024, 12, 3072, 16, 512};
  EXPECT_TRUE(SameBits(twenty.as<int32_t>(), head, 6));
  EXPECT_TRUE(SameBits(twenty.as<int32_t>() + 256, tileHead, 8));
  Aligned nineteen(4 * 1153 + 64, 16);
  K().blocked(19, 6, nineteen.as<int32_t>());
  const int32_t head19[4] = {0, 4096, 2048, 6144};
  EXPECT_TRUE(SameBits(nineteen.as<int32_t>(), head19, 4));
}

// ---- large-order plans ------------------------------------------------------

// Every split of the first large orders: outer order 4, 6 (class 1) and 8
// (classes 2 and 3 from order 20, class 1 from 22, classes 4 to 7 from 23).
TEST_P(FftVectorSetupTest, LargeOrderPlansOfTheFirstLargeOrders) {
  const int last = Cls() >= 4 ? 23 : 22;
  for (int order = K().leaf + 1; order <= last; ++order) {
    CheckPlan(K(), order);
  }
}

// ---- many-core specification (class 6, orders 0 to 16) ----------------------

TEST(FftManyCoreSpec, SineEntriesOfOrders11To16AreCorrectlyRounded) {
  for (int order = 11; order <= 16; ++order) {
    const int64_t n = int64_t{1} << order;
    Aligned t(n + 128, 0, 0xEE);
    EXPECT_EQ(MakeSineTableManyCoreSpec(order, t.as<float>()), t.data + A64(n + 4));
    const float* s = t.as<float>();
    for (int64_t i = 0; i <= n / 4; ++i) {
      const long double exact = std::sin(2.0L * 3.14159265358979323846264338327950288L * i / n);
      ASSERT_EQ(s[i], static_cast<float>(exact)) << order << " " << i;
    }
    EXPECT_EQ(t.data[n + 4], 0xEE);
  }
}

// The blocks of the many-core twiddle table of an order (start float, radix,
// group length): the head block of 32 floats (radix 4, group length 16), then
// one block per stage, radix 8 while 3 or at least 5 levels remain, else 4.
struct Block {
  int64_t start;
  int radix;
  int64_t group;
};

std::vector<Block> ManyCoreBlocks(int order) {
  std::vector<Block> blocks = {{0, 4, 16}};
  int64_t start = 32;
  for (int o = 4; o < order;) {
    const int r = order - o;
    const int radix = r == 3 || r >= 5 ? 8 : 4;
    const int64_t group = int64_t{1} << (o + (radix == 8 ? 3 : 2));
    blocks.push_back({start, radix, group});
    start += 2 * (radix - 1) * group / radix;
    o += radix == 8 ? 3 : 2;
  }
  return blocks;
}

TEST(FftManyCoreSpec, BlockSequenceHoldsTheDesignFigures) {
  const auto same = [](const std::vector<Block>& a, const std::vector<Block>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i].start != b[i].start || a[i].radix != b[i].radix || a[i].group != b[i].group) return false;
    }
    return true;
  };
  EXPECT_TRUE(same(ManyCoreBlocks(8), {{0, 4, 16}, {32, 4, 64}, {128, 4, 256}}));
  EXPECT_TRUE(same(ManyCoreBlocks(11), {{0, 4, 16}, {32, 8, 128}, {256, 4, 512}, {1024, 4, 2048}}));
  EXPECT_TRUE(same(ManyCoreBlocks(14), {{0, 4, 16}, {32, 8, 128}, {256, 8, 1024}, {2048, 4, 4096}, {8192, 4, 16384}}));
  const Block last = ManyCoreBlocks(16).back();
  EXPECT_EQ(last.start, 16384);
  EXPECT_EQ(last.radix, 8);
  EXPECT_EQ(last.group, 65536);
  // Every table ends at 2N floats with the group length of the whole order.
  for (int order = 8; order <= 16; ++order) {
    const Block b = ManyCoreBlocks(order).back();
    EXPECT_EQ(b.group, int64_t{1} << order) << order;
    EXPECT_EQ(b.start + 2 * (b.radix - 1) * b.group / b.radix, 2 * b.group) << order;
  }
}

TEST(FftManyCoreSpec, HeaderListAndTwiddleBlocks) {
  const VectorClass& k = Class(6);
  for (int order = 8; order <= 16; ++order) {
    Built b = Build(k, order, 8);
    ASSERT_EQ(b.status, 0);
    const auto* h = reinterpret_cast<const FftManyCoreSpecComplexFloat32*>(b.header);
    const uint8_t* base = reinterpret_cast<const uint8_t*>(h);
    const int64_t n = int64_t{1} << order;
    EXPECT_EQ(h->identifier, 4);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(h->swapList), base + 136);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(h->twiddles), base + A64(136 + 4 * (n / 4 + 1)));
    EXPECT_EQ(h->workBytes, 8 * n);
    for (int64_t i = 0; i < n / 4; ++i) {
      ASSERT_EQ(h->swapList[i], static_cast<int32_t>(2 * Reverse(static_cast<uint32_t>(i), order - 2)));
    }
    EXPECT_EQ(h->swapList[n / 4], 0);
    Aligned sine(n + 128);
    const float* table = kFftQuarterSineOrder10;
    int a = 10;
    if (order > 10) {
      MakeSineTableManyCoreSpec(order, sine.as<float>());
      table = sine.as<float>();
      a = order;
    }
    const float* tw = h->twiddles;
    int64_t end = 0;
    for (const Block& blk : ManyCoreBlocks(order)) {
      EXPECT_EQ(blk.start, end) << order;
      const int64_t positions = blk.group / blk.radix;
      const int64_t chunk = blk.start == 0 ? 4 : 16;
      const float* p = tw + blk.start;
      for (int64_t c = 0; c < positions; c += chunk) {
        for (int m = 1; m < blk.radix; ++m, p += 2 * chunk) {
          for (int64_t i = 0; i < chunk; ++i) {
            float re, im;
            Twiddle(table, a, m * (c + i), blk.group, &re, &im);
            ASSERT_TRUE(SameBits(p + i, &re, 1) && SameBits(p + chunk + i, &im, 1))
                << order << " block " << blk.start << " m " << m << " q " << c + i;
          }
        }
      }
      end = blk.start == 0 ? 32 : p - tw;
    }
    EXPECT_EQ(end, 2 * n) << order;
  }
  // Orders 0 to 7: the header alone, with or without an init buffer.
  for (int order = 0; order <= 7; ++order) {
    Built b = Build(k, order, 2);
    ASSERT_EQ(b.status, 0);
    const auto* h = reinterpret_cast<const FftManyCoreSpecComplexFloat32*>(b.header);
    EXPECT_EQ(h->swapList, nullptr);
    EXPECT_EQ(h->twiddles, nullptr);
    EXPECT_EQ(h->workBytes, 0);
  }
  // Order 8: entries 1 and 2 of the list; order 9, flag 4: the scale.
  Built eight = Build(k, 8, 2);
  const auto* h8 = reinterpret_cast<const FftManyCoreSpecComplexFloat32*>(eight.header);
  EXPECT_EQ(h8->swapList[1], 64);
  EXPECT_EQ(h8->swapList[2], 32);
  EXPECT_EQ(h8->scale, std::ldexp(1.0f, -8));
  EXPECT_EQ(h8->inverseScale, 1);
  EXPECT_EQ(Build(k, 9, 4).header->scale, 0.044194173f);
  // Order 17 takes the ordinary path: a 144-byte header with its tables.
  Built seventeen = Build(k, 17, 2);
  EXPECT_EQ(seventeen.header->swapList, reinterpret_cast<uint8_t*>(seventeen.header) + 144);
  EXPECT_NE(seventeen.header->twiddles, nullptr);
}

}  // namespace
