// Vector bit reversal and tile moves of classes 1 to 7 against the definition
// of the permutation, at 16-, 8- and 4-byte alignment.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fft/setup/many_core_plan.h"
#include "fft/setup/setup.h"
#include "fft/setup/permute.h"
#include "fft_vector_model.h"
#include "support/bits.h"
#include "support/class_fixture.h"

namespace {

using namespace fftv_model;

// n points of distinct bit patterns (NaN payloads and negative zeros included)
// at `offset` bytes past a 64-byte boundary.
struct Points {
  Points(int64_t n, size_t offset, uint32_t seed) : mem(8 * n + 64, offset, 0) {
    uint32_t* w = mem.as<uint32_t>();
    for (int64_t i = 0; i < 2 * n; ++i) {
      seed = seed * 1664525u + 1013904223u;
      w[i] = (i % 7 == 3) ? (0x7FC00000u | (seed >> 12)) : (i % 11 == 5) ? 0x80000000u : seed;
    }
    w[0] = static_cast<uint32_t>(n);  // distinct even where the generator repeats
  }
  ComplexFloat32* data() { return mem.as<ComplexFloat32>(); }
  uint64_t At(int64_t i) {
    uint64_t v;
    std::memcpy(&v, mem.data + 8 * i, 8);
    return v;
  }
  Aligned mem;
};

std::vector<uint64_t> Snapshot(Points& p, int64_t n) {
  std::vector<uint64_t> v(n);
  for (int64_t i = 0; i < n; ++i) v[i] = p.At(i);
  return v;
}

// Position i holds the old point rev(i), and nothing past n points changed.
void ExpectReversed(Points& after, const std::vector<uint64_t>& before, int order, const char* what) {
  const int64_t n = int64_t{1} << order;
  for (int64_t i = 0; i < n; ++i) {
    ASSERT_EQ(after.At(i), before[Reverse(static_cast<uint32_t>(i), order)]) << what << " n " << n << " i " << i;
  }
  const uint8_t* tail = after.mem.data + 8 * n;
  for (int b = 0; b < 32; ++b) ASSERT_EQ(tail[b], 0) << what << " wrote past the array, n " << n;
}

using InPlaceFn = void (*)(ComplexFloat32*, int32_t, const int32_t*);
using CopyFn = void (*)(const ComplexFloat32*, ComplexFloat32*, int32_t, const int32_t*);
using GatherFn = void (*)(const ComplexFloat32*, ComplexFloat32*, int32_t, int32_t, int32_t);
using ScatterFn = void (*)(ComplexFloat32*, const ComplexFloat32*, int32_t, int32_t, int32_t, int32_t);

struct Movers {
  InPlaceFn inPlace;  // whole-array reversal: classes 1 to 3 only
  CopyFn copy;
  GatherFn gather;
  ScatterFn scatter;
};

Movers MoversOf(int cls) {
  switch (cls) {
    case 1: return {BitReverseInPlaceSse3, BitReverseCopySse3, TileGatherSse3, TileScatterSse3};
    case 2: return {BitReverseInPlaceSsse3, BitReverseCopySsse3, TileGatherSsse3, TileScatterSsse3};
    case 3: return {BitReverseInPlaceSse42, BitReverseCopySse42, TileGatherSse42, TileScatterSse42};
    case 6: return {nullptr, nullptr, TileGatherAvx512ManyCore, TileScatterAvx512ManyCore};
    default: return {nullptr, nullptr, TileGatherAvx, TileScatterAvx};  // classes 4, 5 and 7
  }
}

// Tile reversal: classes 1 to 7.
class FftPermuteTest : public lv_test::PerClassTest {};

INSTANTIATE_TEST_SUITE_P(Classes, FftPermuteTest, ::testing::Range(1, kProcessorClassCount),
                         ::lv_test::ClassParamName);

// Tile gather and scatter: classes 1 to 7. Classes 5 and 7 use the class-4
// members; their cases are named as forwarders (Avx2ForwardsToAvx).
class FftTileMoveTest : public lv_test::PerClassTest {};

std::string TileMoveCaseName(const ::testing::TestParamInfo<int>& info) {
  const bool usesClass4 = info.param == 5 || info.param == 7;
  return std::string(ProcessorClassSuffix(info.param)) + (usesClass4 ? "ForwardsToAvx" : "");
}

INSTANTIATE_TEST_SUITE_P(Classes, FftTileMoveTest, ::testing::Range(1, kProcessorClassCount), TileMoveCaseName);

// Whole-array bit reversal through a complete swap list: classes 1 to 3 (the
// others reverse through tiles only).
class FftWholeArrayReversalTest : public lv_test::PerClassTest {};

INSTANTIATE_TEST_SUITE_P(Classes, FftWholeArrayReversalTest, ::testing::Values(1, 2, 3), ::lv_test::ClassParamName);

TEST_P(FftWholeArrayReversalTest, ExactForEverySizeAndAlignment) {
  const Movers m = MoversOf(Cls());
  for (int order = 4; order <= 17; ++order) {
    const int64_t n = int64_t{1} << order;
    Aligned list(4 * (n / 4 + 1) + 64);
    Class(Cls()).list(order, list.as<int32_t>());
    for (size_t offset : {size_t{16}, size_t{8}, size_t{4}}) {
      Points data(n, offset, 17u + order);
      const std::vector<uint64_t> before = Snapshot(data, n);
      m.inPlace(data.data(), static_cast<int32_t>(n), list.as<int32_t>());
      ExpectReversed(data, before, order, "in place");

      Points src(n, offset, 99u + order);
      Points dst(n, (offset * 3) % 16, 0);
      std::memset(dst.mem.data, 0, 8 * n);
      const std::vector<uint64_t> original = Snapshot(src, n);
      m.copy(src.data(), dst.data(), static_cast<int32_t>(n), list.as<int32_t>());
      ExpectReversed(dst, original, order, "copy");
      EXPECT_TRUE(lv_test::SameBits(Snapshot(src, n), original)) << "the copy changed its source, n " << n;
    }
  }
}

TEST_P(FftWholeArrayReversalTest, SixteenPointsAreOneTransposedBlock) {
  const Movers m = MoversOf(Cls());
  Aligned list(128);
  Class(Cls()).list(4, list.as<int32_t>());
  Aligned data(128);
  for (int i = 0; i < 16; ++i) data.as<ComplexFloat32>()[i] = {static_cast<float>(i), -static_cast<float>(i)};
  m.inPlace(data.as<ComplexFloat32>(), 16, list.as<int32_t>());
  const int want[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(data.as<ComplexFloat32>()[i].re, static_cast<float>(want[i])) << i;
    EXPECT_EQ(data.as<ComplexFloat32>()[i].im, -static_cast<float>(want[i])) << i;
  }
}

// The tile routine permutes through any pairs-format list; the drivers use
// order 12 (a 64 x 64 tile).
TEST_P(FftPermuteTest, TileBitReversalIsExactForEverySizeAndAlignment) {
  for (int order = 4; order <= 17; ++order) {
    const int64_t n = int64_t{1} << order;
    Aligned list(4 * (n / 4 + 1) + 64);
    Class(Cls()).tileList(order, list.as<int32_t>());
    for (size_t offset : {size_t{16}, size_t{8}, size_t{4}}) {
      Points data(n, offset, 5u + order);
      const std::vector<uint64_t> before = Snapshot(data, n);
      Class(Cls()).tile(data.data(), static_cast<int32_t>(n), list.as<int32_t>());
      ExpectReversed(data, before, order, "tile");
    }
  }
}

// The tile list inside a blocked list is the one the tile routine reads.
TEST_P(FftPermuteTest, BlockedListDrivesTheTileReversal) {
  Aligned blocked(4 * (128 + 1025) + 64);
  Class(Cls()).blocked(19, 6, blocked.as<int32_t>());
  Points data(4096, 8, 3u);
  const std::vector<uint64_t> before = Snapshot(data, 4096);
  Class(Cls()).tile(data.data(), 4096, blocked.as<int32_t>() + 128);
  ExpectReversed(data, before, 12, "tile from blocked list");
}

TEST_P(FftTileMoveTest, GatherThenScatterRestoresTheRectangleAndNothingElse) {
  const Movers m = MoversOf(Cls());
  struct Case {
    int32_t stride, rows, length;
  } cases[] = {{4096, 64, 64}, {65536 / 64, 64, 64}, {2048, 16, 32}, {4096, 256, 128}, {512, 32, 64}, {128, 1, 16}};
  for (const Case& c : cases) {
    for (size_t offset : {size_t{16}, size_t{8}, size_t{4}}) {
      const int64_t n = int64_t{c.stride} * c.rows + c.length;
      Points array(n, offset, 11u + c.rows);
      const std::vector<uint64_t> original = Snapshot(array, n);
      const int64_t column = c.stride - c.length;  // a rectangle against the right edge of the rows
      const int64_t count = int64_t{c.rows} * c.length;
      Aligned buffer(8 * count + 64, 0, 0xEE);
      m.gather(array.data() + column, buffer.as<ComplexFloat32>(), c.stride, c.rows, c.length);
      for (int b = 0; b < 64; ++b) ASSERT_EQ(buffer.data[8 * count + b], 0xEE) << "gather wrote past the buffer";
      for (int64_t r = 0; r < c.rows; ++r) {
        ASSERT_TRUE(lv_test::SameBytes(buffer.data + 8 * r * c.length, array.mem.data + 8 * (column + r * c.stride),
                                       static_cast<size_t>(8 * c.length)))
            << "row " << r;
      }
      // Wipe the rectangle, then scatter it back.
      for (int64_t r = 0; r < c.rows; ++r) std::memset(array.mem.data + 8 * (column + r * c.stride), 0x5A, 8 * c.length);
      m.scatter(array.data() + column, buffer.as<ComplexFloat32>(), c.stride, c.rows, c.length, 0);
      EXPECT_TRUE(lv_test::SameBits(Snapshot(array, n), original))
          << "stride " << c.stride << " rows " << c.rows << " offset " << offset;
    }
  }
}

TEST_P(FftTileMoveTest, LastScatterInterleavesGroupedValues) {
  const Movers m = MoversOf(Cls());
  const int v = Class(Cls()).v;
  const int32_t rows = 3, length = 32, stride = 48;
  Aligned buffer(8 * rows * length);
  float* b = buffer.as<float>();
  for (int i = 0; i < 2 * rows * length; ++i) b[i] = static_cast<float>(i + 1);
  for (size_t offset : {size_t{16}, size_t{8}, size_t{4}}) {
    Points array(int64_t{stride} * rows, offset, 1u);
    const std::vector<uint64_t> original = Snapshot(array, int64_t{stride} * rows);
    m.scatter(array.data(), buffer.as<ComplexFloat32>(), stride, rows, length, 1);
    const ComplexFloat32* a = array.data();
    for (int r = 0; r < rows; ++r) {
      for (int p = 0; p < length; ++p) {
        const int group = (r * length + p) / v, lane = p % v;
        EXPECT_EQ(a[r * stride + p].re, b[2 * v * group + lane]) << r << " " << p;
        EXPECT_EQ(a[r * stride + p].im, b[2 * v * group + v + lane]) << r << " " << p;
      }
      for (int p = length; p < stride; ++p) {
        uint64_t now;
        std::memcpy(&now, a + r * stride + p, 8);
        EXPECT_EQ(now, original[r * stride + p]) << "outside the rectangle";
      }
    }
  }
  // The smallest case: grouped 1 .. 2v gives the pairs (1, 1 + v), (2, 2 + v), ...
  EXPECT_EQ(buffer.as<float>()[0], 1.0f);
  Points one(16, 8, 1u);
  m.scatter(one.data(), buffer.as<ComplexFloat32>(), 16, 1, 16, 1);
  EXPECT_EQ(one.data()[1].re, 2.0f);
  EXPECT_EQ(one.data()[1].im, 2.0f + static_cast<float>(v));
}

}  // namespace
