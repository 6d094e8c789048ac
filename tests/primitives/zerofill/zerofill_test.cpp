// Zero fill in every processor class: exact bytes at every alignment, the
// argument checks, and the large-block roads (streaming, string store).
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "cpu/cache_size.h"
#include "primitives/roads.h"
#include "primitives/zerofill/zerofill.h"
#include "primitives/zerofill/zerofill_classes.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using FillFn = int32_t (*)(void*, int32_t);

// The class implementations by element size (1, 2, 4, 8 bytes).
struct FillSet {
  FillFn bySize[4];
};
#define LV_FILL_SET(S) \
  FillSet { { &VectorZeroFillUint8##S, &VectorZeroFillInt16##S, &VectorZeroFillInt32##S, &VectorZeroFillComplexFloat32##S } }
const FillSet kFill[kProcessorClassCount] = {LV_FILL_SET(Sse2), LV_FILL_SET(Sse3),          LV_FILL_SET(Ssse3),
                                              LV_FILL_SET(Sse42), LV_FILL_SET(Avx),          LV_FILL_SET(Avx2),
                                              LV_FILL_SET(Avx512ManyCore), LV_FILL_SET(Avx512)};

// The entry points by element size, with the shared ones as a second choice.
int32_t EntryUint8(void* p, int32_t n) { return VectorZeroFillUint8(p, n); }
int32_t EntryInt16(void* p, int32_t n) { return VectorZeroFillInt16(static_cast<int16_t*>(p), n); }
int32_t EntryInt32(void* p, int32_t n) { return VectorZeroFillInt32(static_cast<int32_t*>(p), n); }
int32_t EntryFloat32(void* p, int32_t n) { return VectorZeroFillFloat32(static_cast<float*>(p), n); }
int32_t EntryFloat64(void* p, int32_t n) { return VectorZeroFillFloat64(static_cast<double*>(p), n); }
int32_t EntryComplex(void* p, int32_t n) { return VectorZeroFillComplexFloat32(static_cast<ComplexFloat32*>(p), n); }
struct Entry {
  const char* name;
  FillFn fn;
  int size;
};
const Entry kEntries[] = {{"Uint8", &EntryUint8, 1},       {"Int16", &EntryInt16, 2},     {"Int32", &EntryInt32, 4},
                          {"Float32", &EntryFloat32, 4},   {"Float64", &EntryFloat64, 8}, {"ComplexFloat32", &EntryComplex, 8}};

constexpr uint8_t kCanary = 0xA5;
constexpr size_t kGuard = 128;

// One buffer for a whole sweep: the region under test starts `offset` bytes
// past a 64-byte boundary, everything else holds the canary.
class SweepBuffer {
 public:
  explicit SweepBuffer(size_t maxBytes) : storage_(maxBytes + 64 + 2 * kGuard + 64, kCanary) {}
  uint8_t* Region(size_t offset) {
    auto base = (reinterpret_cast<uintptr_t>(storage_.data()) + kGuard + 63) & ~uintptr_t{63};
    return reinterpret_cast<uint8_t*>(base) + offset;
  }
  // True when [region, region + bytes) is zero and everything else the canary;
  // then puts the canary back.
  ::testing::AssertionResult CheckAndRestore(uint8_t* region, size_t bytes) {
    const uint8_t* end = storage_.data() + storage_.size();
    for (const uint8_t* p = storage_.data(); p < end; ++p) {
      if (p == region) {
        p += bytes;  // the range itself is checked below
        if (p >= end) break;
      }
      if (*p != kCanary) {
        return ::testing::AssertionFailure() << "byte outside the range written at " << (p - region) << " of " << bytes;
      }
    }
    for (size_t i = 0; i < bytes; ++i) {
      if (region[i] != 0) {
        return ::testing::AssertionFailure() << "byte " << i << " of " << bytes << " not zeroed";
      }
    }
    std::memset(region, kCanary, bytes);
    return ::testing::AssertionSuccess();
  }

 private:
  std::vector<uint8_t> storage_;
};

class ZeroFillTest : public lv_test::PerClassTest {};

// Counts 1..300 at offsets 0..63, every element size, through the class
// implementations and through the entry points (dispatched to the forced class).
TEST_P(ZeroFillTest, ExactBytesAtEveryAlignment) {
  SweepBuffer buf(300 * 8);
  for (int e = 0; e < 4; ++e) {
    const int size = 1 << e;
    lv_test::SweepOffsetsAndCounts(63, 300, [&](int offset, int count) {
      uint8_t* r = buf.Region(offset);
      ASSERT_EQ(kFill[Cls()].bySize[e](r, count), StatusOk);
      ASSERT_TRUE(buf.CheckAndRestore(r, static_cast<size_t>(count) * size)) << "size " << size << " offset " << offset;
    });
  }
  for (const Entry& entry : kEntries) {
    lv_test::SweepOffsetsAndCounts(63, 300, [&](int offset, int count) {
      uint8_t* r = buf.Region(offset);
      ASSERT_EQ(entry.fn(r, count), StatusOk);
      ASSERT_TRUE(buf.CheckAndRestore(r, static_cast<size_t>(count) * entry.size)) << entry.name << " offset " << offset;
    });
  }
}

// The byte after the range is on a PROT_NONE page: a store past the end faults.
TEST_P(ZeroFillTest, NothingPastTheEnd) {
  for (int e = 0; e < 4; ++e) {
    const int size = 1 << e;
    for (int count = 1; count <= 300; ++count) {
      lv_test::GuardedBuffer g(static_cast<size_t>(count) * size, size);
      std::memset(g.data(), 0x77, g.size());
      ASSERT_EQ(kFill[Cls()].bySize[e](g.data(), count), StatusOk);
      for (size_t i = 0; i < g.size(); ++i) {
        ASSERT_EQ(g.data()[i], 0) << "count " << count << " size " << size;
      }
    }
  }
}

TEST_P(ZeroFillTest, ChecksNullBeforeCountAndWritesNothing) {
  SweepBuffer buf(64);
  uint8_t* r = buf.Region(3);
  for (int e = 0; e < 4; ++e) {
    FillFn fn = kFill[Cls()].bySize[e];
    EXPECT_EQ(fn(nullptr, 10), StatusNullPointer);
    EXPECT_EQ(fn(nullptr, 0), StatusNullPointer);
    EXPECT_EQ(fn(nullptr, -6), StatusNullPointer);
    EXPECT_EQ(fn(r, 0), StatusBadCount);
    EXPECT_EQ(fn(r, -6), StatusBadCount);
    EXPECT_EQ(fn(r, INT32_MIN), StatusBadCount);
    EXPECT_TRUE(buf.CheckAndRestore(r, 0));
  }
  for (const Entry& entry : kEntries) {
    EXPECT_EQ(entry.fn(nullptr, -6), StatusNullPointer) << entry.name;
    EXPECT_EQ(entry.fn(r, -6), StatusBadCount) << entry.name;
    EXPECT_TRUE(buf.CheckAndRestore(r, 0));
  }
}

// Large fills: which road each class takes, with an injected 8 MiB cache and
// with this processor's own answer; every road leaves exactly zeros.
struct LargeCase {
  int element;          // index into bySize
  int64_t count;        // elements
  int offset;           // bytes past a 64-byte boundary
  PrimitiveRoad road;   // the road that must be counted
  bool taken;           // counted (true) or not (false)
};

void RunLargeCase(int cls, const LargeCase& c) {
  const size_t bytes = static_cast<size_t>(c.count) << c.element;
  SweepBuffer buf(bytes);
  uint8_t* r = buf.Region(c.offset);
  std::memset(r, 0x3C, bytes);
  const uint64_t before = PrimitiveRoadCount(c.road);
  ASSERT_EQ(kFill[cls].bySize[c.element](r, static_cast<int32_t>(c.count)), StatusOk);
  EXPECT_EQ(PrimitiveRoadCount(c.road) - before, c.taken ? 1u : 0u)
      << "road " << c.road << ", " << bytes << " bytes at offset " << c.offset;
  EXPECT_TRUE(buf.CheckAndRestore(r, bytes));
}

TEST_P(ZeroFillTest, LargeRoadsWithAnEightMiBCache) {
  SetCacheSizeOverrideForTest(8 << 20);
  std::vector<LargeCase> cases;
  const int cls = Cls();
  if (cls >= 1 && cls <= 3) {
    cases = {
        {0, (8 << 20) + 48, 0, kRoadZeroFillStream, true},     // at least the cache: streams
        {2, (4 << 20) + 5, 3, kRoadZeroFillStream, true},
        {0, (8 << 20) - 64, 0, kRoadZeroFillStream, false},    // just below the cache size
        {0, (8 << 20) - 64, 0, kRoadZeroFillCachedLarge, true},
        {0, 0x80000, 0, kRoadZeroFillCachedLarge, false},      // 512 KiB aligned: never asks
        {0, 0x80000 + 16, 0, kRoadZeroFillCachedLarge, true},
    };
  } else if (cls >= 4) {
    cases = {
        {2, 524288, 0, kRoadZeroFillString, false},   // 2 MiB of floats: 32-byte stores
        {2, 524288, 0, kRoadZeroFillVectorLarge, true},
        {2, 524289, 0, kRoadZeroFillString, true},    // one more: the string store
        {0, 32768, 5, kRoadZeroFillString, false},    // bytes switch at 32 KiB
        {0, 32769, 5, kRoadZeroFillString, true},
        {3, (8 << 20) + 3, 17, kRoadZeroFillString, true},
    };
  } else {
    cases = {
        {0, 16 << 20, 7, kRoadZeroFillStream, false},
        {0, 16 << 20, 7, kRoadZeroFillString, false},
    };
  }
  for (const LargeCase& c : cases) {
    RunLargeCase(cls, c);
  }
  ClearCacheSizeOverrideForTest();
}

TEST_P(ZeroFillTest, NoStreamingWhenTheCacheIsUnknown) {
  SetCacheSizeOverrideForTest(-1);
  RunLargeCase(Cls(), {0, 16 << 20, 0, kRoadZeroFillStream, false});
  ClearCacheSizeOverrideForTest();
}

LV_INSTANTIATE_PER_CLASS(ZeroFillTest);

}  // namespace
