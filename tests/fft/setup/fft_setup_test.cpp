// Size query, specification header and tables of the portable FFT (class 0),
// and the entry points' dispatch.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fft/fft.h"
#include "fft/setup/fft_spec.h"
#include "fft/fft_class_table.h"
#include "fft/fft_classes.h"
#include "fft/setup/setup.h"
#include "support/guarded_buffer.h"

namespace {

int64_t A64(int64_t x) { return (x + 63) / 64 * 64; }

// The class-0 counts computed independently from the size formulas: (spec,
// init, work). The outer order of each level comes from the class's split
// table (checked against the design below).
void Level(int order, int64_t c[3]) {
  const int64_t n = int64_t{1} << order;
  const int split = kFftOrderSplitSse2[order];
  if (split == 0) {
    c[0] = A64(2 * n) + 8256;
    c[1] = c[2] = 0;
    return;
  }
  const int m = order - split;
  const int64_t k = int64_t{1} << split;
  int64_t in[3] = {A64(8 * (int64_t{1} << m) + 8), 0, 0};
  if (m > 10) Level(m, in);
  c[0] = in[0] + A64(8 * k + 8) + 8 * n;
  c[1] = in[1] + A64(k + 4) + 32 * k;
  c[2] = std::max(in[2], 32 * k);
}

void Expected(int order, int64_t out[3]) {
  const int64_t n = int64_t{1} << order;
  const int64_t s = A64(n + 4);
  if (order <= 5) {
    out[0] = 208, out[1] = 0, out[2] = 0;
  } else if (order <= 10) {
    out[0] = A64(8 * n + 8) + s + 256, out[1] = 0, out[2] = 0;
  } else {
    int64_t c[3];
    Level(order, c);
    out[0] = c[0] + s + 256, out[1] = s + c[1] + 64, out[2] = c[2] > 0 ? c[2] + 64 : 0;
  }
}

TEST(FftSizeQuery, EveryOrderAndFlagMatchesTheFormulas) {
  for (int order = -1; order <= 31; ++order) {
    for (int flag : {0, 1, 2, 3, 4, 5, 8, 16}) {
      for (int hint : {0, 2}) {
        int32_t s = -1, i = -1, w = -1;
        const int32_t status = FftGetSizeComplexFloat32Sse2(order, flag, hint, &s, &i, &w);
        const bool flagOk = flag == 1 || flag == 2 || flag == 4 || flag == 8;
        const int32_t want = (order < 0 || order > 30) ? -15 : !flagOk ? -16 : order > 27 ? -15 : 0;
        ASSERT_EQ(status, want) << order << " " << flag;
        if (status != 0) {
          EXPECT_EQ(s, -1);
          EXPECT_EQ(i, -1);
          EXPECT_EQ(w, -1);
          continue;
        }
        int64_t e[3];
        Expected(order, e);
        EXPECT_EQ(s, e[0]) << order;
        EXPECT_EQ(i, e[1]) << order;
        EXPECT_EQ(w, e[2]) << order;
      }
    }
  }
}

TEST(FftSizeQuery, KnownCounts) {
  struct Case {
    int order;
    int32_t spec, init, work;
  } cases[] = {{0, 208, 0, 0}, {5, 208, 0, 0}, {6, 960, 0, 0}, {11, 14720, 2176, 0}, {13, 0, 0, 1088}};
  for (const Case& c : cases) {
    int32_t s, i, w;
    ASSERT_EQ(FftGetSizeComplexFloat32Sse2(c.order, 2, 2, &s, &i, &w), 0);
    if (c.spec) {
      EXPECT_EQ(s, c.spec) << c.order;
    }
    if (c.order <= 11) {
      EXPECT_EQ(i, c.init) << c.order;
    }
    EXPECT_EQ(w, c.work) << c.order;
  }
  int32_t s, i, w;
  ASSERT_EQ(FftGetSizeComplexFloat32Sse2(27, 8, 0, &s, &i, &w), 0);
  EXPECT_EQ(s, 1209022976);
}

// The class-0 order split table: the design's figures where a value changes
// and the invariants that fix the rest. Orders 11 and 12 are not split
// (combine passes); 13 to 16 split off one more outer level per order; the
// outer order never falls from 13 to 22; orders 23 to 27 recurse one level
// with inner orders 15, 16, 15, 16 and 17; orders 29 and 30 repeat 28.
TEST(FftSplitTable, DesignFiguresAndInvariants) {
  const int32_t* split = kFftOrderSplitSse2;
  for (int order = 0; order <= 12; ++order) EXPECT_EQ(split[order], 0) << order;
  const struct {
    int order, n;
  } spots[] = {{13, 5}, {16, 8}, {18, 8}, {19, 10}, {22, 10}, {28, 10}};
  for (const auto& p : spots) EXPECT_EQ(split[p.order], p.n) << p.order;
  for (int order = 14; order <= 16; ++order) EXPECT_EQ(split[order], split[order - 1] + 1) << order;
  for (int order = 14; order <= 22; ++order) EXPECT_GE(split[order], split[order - 1]) << order;
  const int inner[5] = {15, 16, 15, 16, 17};
  for (int order = 23; order <= 27; ++order) {
    EXPECT_EQ(order - split[order], inner[order - 23]) << order;
    // The inner level's own rows are leaves.
    EXPECT_LE(inner[order - 23] - split[inner[order - 23]], kFftClasses[kClassSse2].leafLimit) << order;
  }
  // Below 23 the rows are leaves of up to 1024 points or, at 21 and 22, the
  // combine-pass leaves of orders 11 and 12.
  for (int order = 13; order <= 22; ++order) {
    const int rows = order - split[order];
    EXPECT_EQ(rows <= kFftClasses[kClassSse2].leafLimit, order < 21) << order;
  }
  EXPECT_EQ(21 - split[21], 11);
  EXPECT_EQ(22 - split[22], 12);
  EXPECT_EQ(split[29], split[28]);
  EXPECT_EQ(split[30], split[28]);
}

TEST(FftSizeQuery, CheckOrder) {
  int32_t s = 0, i = 0, w = 0;
  EXPECT_EQ(FftGetSizeComplexFloat32Sse2(-1, 3, 0, nullptr, nullptr, nullptr), -15);
  EXPECT_EQ(FftGetSizeComplexFloat32Sse2(31, 2, 0, &s, &i, &w), -15);
  EXPECT_EQ(FftGetSizeComplexFloat32Sse2(29, 2, 0, &s, nullptr, &w), -8);
  EXPECT_EQ(FftGetSizeComplexFloat32Sse2(29, 3, 0, &s, &i, &w), -16);
  EXPECT_EQ(FftGetSizeComplexFloat32Sse2(28, 2, 0, &s, &i, &w), -15);
  EXPECT_EQ(FftGetSizeComplexFloat32Sse2(5, 3, 0, &s, &i, nullptr), -8);
  // Through the entry point as well.
  EXPECT_EQ(FftGetSizeComplexFloat32(40, 2, 2, &s, &i, &w), -15);
  ASSERT_EQ(FftGetSizeComplexFloat32(6, 2, 2, &s, &i, &w), 0);
  EXPECT_EQ(s, 960);
}

TEST(FftSineTable, FixedTableIsTheRoundedSine) {
  for (int k = 0; k <= 256; ++k) {
    const long double v = std::sin(2.0L * 3.14159265358979323846264338327950288L * k / 1024.0L);
    const float f = kFftQuarterSineOrder10[k];
    // Correct rounding: no float lies between the table value and the exact sine
    // closer than half a unit.
    EXPECT_LE(std::fabs(static_cast<long double>(f) - v),
              0.5L * (std::nextafter(f, 2.0f) - f) + 1e-30L)
        << k;
  }
  EXPECT_EQ(kFftQuarterSineOrder10[1], 0.0061358847f);
  EXPECT_EQ(kFftQuarterSineOrder10[128], 0.70710677f);
  EXPECT_EQ(kFftQuarterSineOrder10[256], 1.0f);
  EXPECT_EQ(std::signbit(kFftQuarterSineOrder10[0]), false);
}

struct Built {
  std::vector<uint8_t> spec;
  std::vector<uint8_t> init;
  FftSpecComplexFloat32* header = nullptr;
  int32_t status = 0;
};

Built Build(int order, int flag, size_t misalign = 0) {
  Built b;
  int32_t s, i, w;
  EXPECT_EQ(FftGetSizeComplexFloat32Sse2(order, flag, 2, &s, &i, &w), 0);
  b.spec.assign(s + 64, 0xCD);
  b.init.assign(i + 64, 0xCD);
  uint8_t* mem =
      reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(b.spec.data()) + 63) & ~uintptr_t{63}) + misalign;
  b.status = FftInitComplexFloat32Sse2(&b.header, order, flag, 2, mem, i ? b.init.data() : nullptr);
  return b;
}

TEST(FftInit, HeaderFieldsAndScales) {
  for (int order = 0; order <= 20; ++order) {
    for (int flag : {1, 2, 4, 8}) {
      Built b = Build(order, flag);
      ASSERT_EQ(b.status, 0);
      const uint8_t* h = reinterpret_cast<const uint8_t*>(b.header);
      ASSERT_EQ(reinterpret_cast<uintptr_t>(h) % 64, 0u);
      int32_t v[8];
      std::memcpy(v, h, 32);
      EXPECT_EQ(v[0], 4);
      EXPECT_EQ(v[1], order);
      EXPECT_EQ(v[2], flag == 1 || flag == 4 ? 1 : 0);
      EXPECT_EQ(v[3], flag == 2 || flag == 4 ? 1 : 0);
      float scale;
      std::memcpy(&scale, h + 16, 4);
      const float want = flag == 8   ? 0.0f
                         : flag == 4 ? static_cast<float>(1.0 / std::sqrt(std::ldexp(1.0, order)))
                                     : std::ldexp(1.0f, -order);
      EXPECT_EQ(scale, want) << order << " " << flag;
      EXPECT_EQ(v[5], 2);
      EXPECT_EQ(v[7], 0);
      for (int o = 32; o < 48; ++o) EXPECT_EQ(h[o], 0);
      if (order <= 5) {
        for (int o = 48; o < 144; ++o) EXPECT_EQ(h[o], 0) << o;
      }
    }
  }
  EXPECT_EQ(Build(7, 4).header->scale, 0.088388346f);
  EXPECT_EQ(Build(6, 4).header->scale, 0.125f);
}

TEST(FftInit, Failures) {
  std::vector<uint8_t> mem(4096, 0xAB);
  FftSpecComplexFloat32* out = reinterpret_cast<FftSpecComplexFloat32*>(&mem);
  FftSpecComplexFloat32* const sentinel = out;
  EXPECT_EQ(FftInitComplexFloat32Sse2(nullptr, 5, 3, 0, mem.data(), nullptr), -8);
  EXPECT_EQ(FftInitComplexFloat32Sse2(&out, 28, 3, 0, nullptr, nullptr), -15);
  EXPECT_EQ(FftInitComplexFloat32Sse2(&out, -1, 2, 0, mem.data(), nullptr), -15);
  EXPECT_EQ(FftInitComplexFloat32Sse2(&out, 5, 3, 0, nullptr, nullptr), -8);
  uint8_t* base = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(mem.data()) + 63) & ~uintptr_t{63});
  EXPECT_EQ(FftInitComplexFloat32Sse2(&out, 5, 3, 7, base, nullptr), -16);
  int32_t v[8];
  std::memcpy(v, base, 32);
  EXPECT_EQ(v[0], 0);
  EXPECT_EQ(v[1], 5);
  EXPECT_EQ(v[5], 7);
  // A missing init buffer above order 10 leaves a specification that no
  // transform accepts.
  int32_t s, i, w;
  ASSERT_EQ(FftGetSizeComplexFloat32Sse2(11, 2, 0, &s, &i, &w), 0);
  std::vector<uint8_t> big(s + 64, 0xAB);
  base = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(big.data()) + 63) & ~uintptr_t{63});
  EXPECT_EQ(FftInitComplexFloat32Sse2(&out, 11, 2, 0, base, nullptr), -8);
  std::memcpy(v, base, 32);
  EXPECT_EQ(v[0], 0);
  EXPECT_EQ(out, sentinel);
  std::vector<ComplexFloat32> x(2048, {1.0f, 0.0f});
  EXPECT_EQ(FftForwardComplexFloat32Sse2(x.data(), x.data(), reinterpret_cast<FftSpecComplexFloat32*>(base), nullptr),
            -17);
  // Order 10 needs no init buffer.
  ASSERT_EQ(FftGetSizeComplexFloat32Sse2(10, 2, 0, &s, &i, &w), 0);
  EXPECT_EQ(i, 0);
  EXPECT_EQ(Build(10, 2).status, 0);
}

TEST(FftInit, UnalignedMemoryIsRoundedUp) {
  Built b = Build(8, 2, 8);
  ASSERT_EQ(b.status, 0);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(b.header) % 64, 0u);
  EXPECT_EQ(b.header->swapList, reinterpret_cast<uint8_t*>(b.header) + 144);
}

// The scale factor of every order: 1/N exact for flags 1 and 2, the nearest
// float of 1/sqrt(N) for flag 4, 0 for flag 8. Above order 10 a null init
// buffer stops initialisation right after the header (identifier 0), which
// is enough to read the scale without building gigabytes of tables.
TEST(FftInit, ScaleOfEveryOrder) {
  std::vector<uint8_t> mem(256);
  uint8_t* base = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(mem.data()) + 63) & ~uintptr_t{63});
  for (int order = 0; order <= 27; ++order) {
    for (int flag : {1, 2, 4, 8}) {
      Built small;
      const uint8_t* h = base;
      if (order <= 10) {
        small = Build(order, flag);
        ASSERT_EQ(small.status, 0);
        h = reinterpret_cast<const uint8_t*>(small.header);
      } else {
        FftSpecComplexFloat32* out = nullptr;
        ASSERT_EQ(FftInitComplexFloat32Sse2(&out, order, flag, 2, base, nullptr), -8);
        EXPECT_EQ(out, nullptr);
      }
      float scale;
      std::memcpy(&scale, h + 16, 4);
      const long double root = std::sqrt(std::ldexp(1.0L, order));
      const float want = flag == 8 ? 0.0f : flag == 4 ? static_cast<float>(1.0L / root) : std::ldexp(1.0f, -order);
      EXPECT_EQ(scale, want) << "order " << order << " flag " << flag;
    }
  }
  EXPECT_EQ(Build(7, 4).header->scale, 0.088388346f);
}

// The header of a medium and of a large order: pointers at their offsets,
// work-buffer size, zero fields.
TEST(FftInit, HeaderPointersAtTheirOffsets) {
  for (int order : {6, 10, 11, 13, 16}) {
    Built b = Build(order, 2);
    ASSERT_EQ(b.status, 0);
    const uint8_t* h = reinterpret_cast<const uint8_t*>(b.header);
    uint64_t ptr[12];
    std::memcpy(ptr, h + 48, 96);
    EXPECT_EQ(ptr[0], reinterpret_cast<uint64_t>(h + 144)) << "swap list, order " << order;
    EXPECT_NE(ptr[1], 0u) << "twiddles";
    EXPECT_EQ(ptr[1] % 64, 0u);
    EXPECT_EQ(ptr[2] != 0, order == 11) << "combine table";
    EXPECT_EQ(ptr[3], 0u);
    EXPECT_EQ(ptr[4], 0u);
    EXPECT_EQ(ptr[5], 0u);
    EXPECT_EQ(ptr[6] != 0, order >= 13) << "outer table of depth 0";
    EXPECT_EQ(ptr[7], 0u);
    EXPECT_EQ(ptr[8], 0u);
    EXPECT_EQ(ptr[9] != 0, order >= 13) << "column table of depth 0";
    EXPECT_EQ(ptr[10], 0u);
    EXPECT_EQ(ptr[11], 0u);
    int32_t work;
    std::memcpy(&work, h + 24, 4);
    EXPECT_EQ(work, order == 13 ? 1024 : order == 16 ? 8192 : 0);
  }
}

// Initialisation writes nothing past the reported sizes: the blocks end at a
// guard page.
TEST(FftInit, WritesNothingPastTheReportedSizes) {
  for (int order : {0, 5, 6, 9, 10, 11, 12, 13, 16, 19, 21, 23}) {
    int32_t s, i, w;
    ASSERT_EQ(FftGetSizeComplexFloat32Sse2(order, 2, 2, &s, &i, &w), 0);
    lv_test::GuardedBuffer spec(s, 1);
    lv_test::GuardedBuffer init(i > 0 ? i : 1, 1);
    FftSpecComplexFloat32* out = nullptr;
    ASSERT_EQ(FftInitComplexFloat32Sse2(&out, order, 2, 2, spec.data(), i > 0 ? init.data() : nullptr), 0);
    EXPECT_EQ(out->identifier, 4);
  }
}

}  // namespace
