// Copy in every processor class: exact bytes for every source and destination
// alignment, the argument checks, and the large-block roads (streaming,
// backward rounds, byte-align shifts, string moves).
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "cpu/cache_size.h"
#include "primitives/copy/copy.h"
#include "primitives/copy/copy_classes.h"
#include "primitives/roads.h"
#include "support/bits.h"
#include "support/class_fixture.h"
#include "support/guarded_buffer.h"

namespace {

using CopyFn = int32_t (*)(const void*, void*, int32_t);

// The class implementations by element size (1, 2, 4, 8 bytes).
struct CopySet {
  CopyFn bySize[4];
};
#define LV_COPY_SET(S) \
  CopySet { { &VectorCopyUint8##S, &VectorCopyInt16##S, &VectorCopyFloat32##S, &VectorCopyComplexFloat32##S } }
const CopySet kCopy[kProcessorClassCount] = {LV_COPY_SET(Sse2), LV_COPY_SET(Sse3),          LV_COPY_SET(Ssse3),
                                             LV_COPY_SET(Sse42), LV_COPY_SET(Avx),          LV_COPY_SET(Avx2),
                                             LV_COPY_SET(Avx512ManyCore), LV_COPY_SET(Avx512)};

int32_t EntryInt16(const void* s, void* d, int32_t n) {
  return VectorCopyInt16(static_cast<const int16_t*>(s), static_cast<int16_t*>(d), n);
}
int32_t EntryFloat32(const void* s, void* d, int32_t n) {
  return VectorCopyFloat32(static_cast<const float*>(s), static_cast<float*>(d), n);
}
int32_t EntryFloat64(const void* s, void* d, int32_t n) {
  return VectorCopyFloat64(static_cast<const double*>(s), static_cast<double*>(d), n);
}
int32_t EntryComplex(const void* s, void* d, int32_t n) {
  return VectorCopyComplexFloat32(static_cast<const ComplexFloat32*>(s), static_cast<ComplexFloat32*>(d), n);
}
struct Entry {
  const char* name;
  CopyFn fn;
  int size;
};
const Entry kEntries[] = {{"Int16", &EntryInt16, 2},
                          {"Float32", &EntryFloat32, 4},
                          {"Float64", &EntryFloat64, 8},
                          {"ComplexFloat32", &EntryComplex, 8}};

constexpr uint8_t kCanary = 0xA5;
constexpr size_t kGuard = 128;

void FillPattern(uint8_t* p, size_t n, uint32_t seed) {
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1664525u + 1013904223u;
    p[i] = static_cast<uint8_t>((x >> 24) == kCanary ? 0x5A : (x >> 24));
  }
}

// A source with a random pattern and a destination of canaries; regions start
// `offset` bytes past a 64-byte boundary.
class CopyBuffers {
 public:
  explicit CopyBuffers(size_t maxBytes)
      : src_(maxBytes + 64 + 2 * kGuard + 64), dst_(maxBytes + 64 + 2 * kGuard + 64, kCanary) {
    FillPattern(src_.data(), src_.size(), 7);
  }
  static uint8_t* At(std::vector<uint8_t>& v, size_t offset) {
    auto base = (reinterpret_cast<uintptr_t>(v.data()) + kGuard + 63) & ~uintptr_t{63};
    return reinterpret_cast<uint8_t*>(base) + offset;
  }
  const uint8_t* Src(size_t offset) { return At(src_, offset); }
  uint8_t* Dst(size_t offset) { return At(dst_, offset); }

  // True when the destination range equals the source range and every other
  // destination byte is still the canary; then puts the canaries back.
  ::testing::AssertionResult CheckAndRestore(const uint8_t* s, const uint8_t* d, size_t bytes) {
    if (auto same = lv_test::SameBytes(s, d, bytes); !same) {
      return same;
    }
    for (size_t i = 0; i < dst_.size(); ++i) {
      const uint8_t* p = dst_.data() + i;
      if ((p < d || p >= d + bytes) && *p != kCanary) {
        return ::testing::AssertionFailure() << "byte written outside the range at " << (p - d) << " of " << bytes;
      }
    }
    std::memset(const_cast<uint8_t*>(d), kCanary, bytes);
    return ::testing::AssertionSuccess();
  }

 private:
  std::vector<uint8_t> src_;
  std::vector<uint8_t> dst_;
};

class CopyTest : public lv_test::PerClassTest {};

// The byte copy: every count 1..300 at every pair of source and destination
// offsets 0..63.
TEST_P(CopyTest, ByteCopyExactAtEveryAlignmentPair) {
  CopyBuffers buf(300);
  CopyFn fn = kCopy[Cls()].bySize[0];
  for (int so = 0; so < 64; ++so) {
    lv_test::SweepOffsetsAndCounts(63, 300, [&](int doff, int count) {
      const uint8_t* s = buf.Src(so);
      uint8_t* d = buf.Dst(doff);
      ASSERT_EQ(fn(s, d, count), StatusOk);
      ASSERT_TRUE(buf.CheckAndRestore(s, d, count)) << "source offset " << so << " destination offset " << doff;
    });
  }
}

// The typed copies, through the class implementations and the entry points.
TEST_P(CopyTest, TypedCopiesExact) {
  CopyBuffers buf(300 * 8);
  for (int so = 0; so < 64; ++so) {
    for (int doff : {so, (so * 7 + 3) % 64, 0}) {
      for (int e = 1; e < 4; ++e) {
        const size_t size = size_t{1} << e;
        for (int count = 1; count <= 300; ++count) {
          ASSERT_EQ(kCopy[Cls()].bySize[e](buf.Src(so), buf.Dst(doff), count), StatusOk);
          ASSERT_TRUE(buf.CheckAndRestore(buf.Src(so), buf.Dst(doff), count * size))
              << "size " << size << " offsets " << so << "/" << doff;
        }
      }
      for (const Entry& entry : kEntries) {
        for (int count = 1; count <= 300; ++count) {
          ASSERT_EQ(entry.fn(buf.Src(so), buf.Dst(doff), count), StatusOk);
          ASSERT_TRUE(buf.CheckAndRestore(buf.Src(so), buf.Dst(doff), count * size_t(entry.size)))
              << entry.name << " offsets " << so << "/" << doff;
        }
      }
    }
  }
}

// Source and destination both end at a PROT_NONE page: no load or store
// passes either end.
TEST_P(CopyTest, NothingReadOrWrittenPastTheEnd) {
  for (int count = 1; count <= 300; ++count) {
    for (size_t srcAlign : {size_t{1}, size_t{4}, size_t{16}}) {
      lv_test::GuardedBuffer s(count, srcAlign);
      lv_test::GuardedBuffer d(count);
      FillPattern(s.data(), count, count);
      std::memset(d.data(), kCanary, count);
      ASSERT_EQ(kCopy[Cls()].bySize[0](s.data(), d.data(), count), StatusOk);
      ASSERT_TRUE(lv_test::SameBytes(s.data(), d.data(), count)) << "count " << count;
    }
  }
}

TEST_P(CopyTest, ChecksPointersBeforeCountAndWritesNothing) {
  CopyBuffers buf(64);
  const uint8_t* s = buf.Src(1);
  uint8_t* d = buf.Dst(2);
  for (int e = 0; e < 4; ++e) {
    CopyFn fn = kCopy[Cls()].bySize[e];
    EXPECT_EQ(fn(nullptr, d, 10), StatusNullPointer);
    EXPECT_EQ(fn(s, nullptr, 10), StatusNullPointer);
    EXPECT_EQ(fn(nullptr, nullptr, -6), StatusNullPointer);
    EXPECT_EQ(fn(s, nullptr, 0), StatusNullPointer);
    EXPECT_EQ(fn(s, d, 0), StatusBadCount);
    EXPECT_EQ(fn(s, d, -6), StatusBadCount);
    EXPECT_EQ(fn(s, d, INT32_MIN), StatusBadCount);
    EXPECT_TRUE(buf.CheckAndRestore(s, d, 0));
  }
  for (const Entry& entry : kEntries) {
    EXPECT_EQ(entry.fn(nullptr, d, -6), StatusNullPointer) << entry.name;
    EXPECT_EQ(entry.fn(s, d, -6), StatusBadCount) << entry.name;
    EXPECT_TRUE(buf.CheckAndRestore(s, d, 0));
  }
}

// A destination equal to the source leaves the vector unchanged, on every road.
TEST_P(CopyTest, DestinationEqualToSourceLeavesTheVector) {
  SetCacheSizeOverrideForTest(8 << 20);
  for (int64_t bytes : {int64_t{1}, int64_t{77}, int64_t{300}, int64_t{20000}, int64_t{0x8000}, int64_t{(1 << 20) + 3},
                        int64_t{(4 << 20) + 64}}) {
    std::vector<uint8_t> v(bytes + 64), copy;
    FillPattern(v.data(), v.size(), 3);
    copy = v;
    ASSERT_EQ(kCopy[Cls()].bySize[0](v.data() + 5, v.data() + 5, static_cast<int32_t>(bytes)), StatusOk);
    EXPECT_EQ(v, copy) << bytes;
  }
  ClearCacheSizeOverrideForTest();
}

// Large copies: the road each class takes for a size and a pair of page
// offsets, and identical bytes on every road.
struct LargeCase {
  int element;         // index into bySize
  int64_t count;       // elements
  int srcOffset;       // bytes past a page boundary
  int dstOffset;
  PrimitiveRoad road;  // the road that must (or must not) be counted
  bool taken;
};

void RunLargeCase(int cls, const LargeCase& c) {
  const size_t bytes = static_cast<size_t>(c.count) << c.element;
  constexpr size_t kPage = 4096;
  std::vector<uint8_t> srcStore(bytes + 3 * kPage), dstStore(bytes + 3 * kPage, kCanary);
  auto pageAt = [&](std::vector<uint8_t>& v, int offset) {
    auto base = (reinterpret_cast<uintptr_t>(v.data()) + kPage + kPage - 1) & ~uintptr_t{kPage - 1};
    return reinterpret_cast<uint8_t*>(base) + offset;
  };
  uint8_t* s = pageAt(srcStore, c.srcOffset);
  uint8_t* d = pageAt(dstStore, c.dstOffset);
  FillPattern(s, bytes, static_cast<uint32_t>(bytes));
  const uint64_t before = PrimitiveRoadCount(c.road);
  ASSERT_EQ(kCopy[cls].bySize[c.element](s, d, static_cast<int32_t>(c.count)), StatusOk);
  EXPECT_EQ(PrimitiveRoadCount(c.road) - before, c.taken ? 1u : 0u)
      << "road " << c.road << ", " << bytes << " bytes, page offsets " << c.srcOffset << "/" << c.dstOffset;
  ASSERT_TRUE(lv_test::SameBytes(s, d, bytes)) << bytes << " bytes";
  for (const uint8_t* p = dstStore.data(); p < d; ++p) {
    ASSERT_EQ(*p, kCanary) << "byte written before the range";
  }
  for (const uint8_t* p = d + bytes; p < dstStore.data() + dstStore.size(); ++p) {
    ASSERT_EQ(*p, kCanary) << "byte written after the range";
  }
}

std::vector<LargeCase> LargeCasesOf(int cls) {
  const int64_t MiB = 1 << 20;
  switch (cls) {
    case 0:
      return {{0, 16 * MiB, 0, 0, kRoadCopyStream, false}, {0, 16 * MiB, 3, 5, kRoadCopyString, false}};
    case 1:  // streams at half the per-core share (here 4 MiB), never below 512 KiB
      return {{0, 4 * MiB + 16, 0, 0, kRoadCopyStream, true},
              {0, 4 * MiB + 100, 3, 9, kRoadCopyStream, true},
              {2, MiB + 3, 4, 0, kRoadCopyStream, true},
              {0, 4 * MiB - 64, 0, 0, kRoadCopyStream, false},
              {0, 4 * MiB - 64, 0, 0, kRoadCopyCachedLarge, true},
              {0, MiB, 7, 1, kRoadCopyCachedLarge, true}};
    case 2:  // streams above half the cache, asks only above 128 KiB
      return {{0, 4 * MiB + 17, 0, 0, kRoadCopyStream, true},
              {0, 4 * MiB + 17, 5, 11, kRoadCopyStream, true},
              {0, 4 * MiB, 0, 0, kRoadCopyStream, false},
              {0, MiB, 1, 2, kRoadCopyCachedLarge, true},
              {0, 0x20000, 0, 0, kRoadCopyCachedLarge, false}};
    case 3:  // streams at half the cache, asks from 1 MiB; page offsets choose the direction
      return {{0, 4 * MiB + 33, 0, 0, kRoadCopyStream, true},
              {0, 4 * MiB + 33, 7, 13, kRoadCopyStream, true},
              {0, 2 * MiB, 0, 0, kRoadCopyCachedLarge, true},
              {0, 2 * MiB, 0, 0, kRoadCopyBackward, true},       // same page offset
              {0, 200000, 0, 64, kRoadCopyBackward, true},       // destination 64 above: backward
              {0, 200000, 64, 0, kRoadCopyForward, true},        // source up to 160 above: forward
              {0, 200000, 160, 0, kRoadCopyForward, true},
              {0, 200000, 176, 0, kRoadCopyBackward, true},
              {0, 200000, 400, 0, kRoadCopyBackward, true},      // source more than 160 above
              {0, 200000, 0, 4000, kRoadCopyForward, true},      // destination more than 3936 above
              {0, 200000, 4, 0, kRoadCopyAlignShift, true},
              {0, 200001, 8, 32, kRoadCopyAlignShift, true},
              {0, 200003, 12, 48, kRoadCopyAlignShift, true},
              {0, 1000, 15, 3, kRoadCopyAlignShift, true},       // source 12 off once dst is aligned
              {0, 1000, 12, 3, kRoadCopyAlignShift, false},      // source 9 off then
              {0, 200000, 5, 0, kRoadCopyAlignShift, false}};
    case 4:  // the string move from 32 KiB, never streaming
      return {{2, 8191, 0, 0, kRoadCopyString, false},
              {2, 8191, 0, 0, kRoadCopyAvxBackward, true},
              {2, 8192, 0, 0, kRoadCopyString, true},
              {0, 20000, 3, 0, kRoadCopyAvxBackward, true},
              {0, 16 * MiB, 0, 0, kRoadCopyString, true},
              {0, 16 * MiB, 0, 0, kRoadCopyLargeStream, false}};
    default:  // 5-7: streams above 4 MiB at half the cache; page offsets choose the non-streaming road
      return {{2, 8191, 0, 0, kRoadCopyString, false},
              {2, 8191, 0, 0, kRoadCopyAvxBackward, true},     // below 32 KiB: the 32-byte kernel
              {2, 8192, 0, 200, kRoadCopyString, true},
              {0, 4 * MiB, 0, 0, kRoadCopyLargeStream, false},
              {0, 4 * MiB + 1, 0, 0, kRoadCopyLargeStream, true},
              {0, 4 * MiB + 1, 5, 37, kRoadCopyLargeStream, true},
              {0, 4 * MiB, 0, 64, kRoadCopyLargeBackward, true},   // destination 64 above: backward
              {0, 4 * MiB - 5, 7, 71, kRoadCopyLargeBackward, true},
              {0, 4 * MiB - 5, 7, 7 + 159, kRoadCopyLargeBackward, true},
              {0, 4 * MiB - 5, 7, 7 + 160, kRoadCopyString, true},
              {0, 4 * MiB, 0, 200, kRoadCopyString, true},         // 200 above: string move
              {0, 4 * MiB, 64, 0, kRoadCopyString, true},          // below: string move
              {0, 100000, 2, 1, kRoadCopyString, true},            // alignments agree modulo 1 only
              {0, 100000, 6, 4, kRoadCopyString, true},            // modulo 2
              {0, 100000, 4, 0, kRoadCopyString, true},            // modulo 4
              {2, 5000, 0, 3000, kRoadCopyAvxBackward, true}};
  }
}

TEST_P(CopyTest, LargeRoadsWithAnEightMiBCache) {
  SetCacheSizeOverrideForTest(8 << 20);
  for (const LargeCase& c : LargeCasesOf(Cls())) {
    RunLargeCase(Cls(), c);
  }
  ClearCacheSizeOverrideForTest();
}

TEST_P(CopyTest, NoStreamingWhenTheCacheIsUnknown) {
  SetCacheSizeOverrideForTest(-1);
  RunLargeCase(Cls(), {0, 16 << 20, 0, 0, kRoadCopyStream, false});
  RunLargeCase(Cls(), {0, 16 << 20, 0, 0, kRoadCopyLargeStream, false});
  ClearCacheSizeOverrideForTest();
}

// The typed entry points switch roads at the same byte counts as the byte copy.
// (Classes 0-3 have no such switch: they never take these roads.)
TEST_P(CopyTest, EntryPointReachesTheLargeRoad) {
  std::vector<float> s(8192), d(8192);
  FillPattern(reinterpret_cast<uint8_t*>(s.data()), s.size() * 4, 11);
  // Page offsets of vectors are not controlled here: count every large road.
  auto largeRoads = [] {
    return PrimitiveRoadCount(kRoadCopyString) + PrimitiveRoadCount(kRoadCopyLargeBackward) +
           PrimitiveRoadCount(kRoadCopyLargeStream);
  };
  uint64_t before = largeRoads();
  ASSERT_EQ(VectorCopyFloat32(s.data(), d.data(), 8191), StatusOk);
  EXPECT_EQ(largeRoads(), before);
  ASSERT_EQ(VectorCopyFloat32(s.data(), d.data(), 8192), StatusOk);
  EXPECT_EQ(largeRoads(), before + (Cls() >= 4 ? 1 : 0));
  EXPECT_TRUE(lv_test::SameBits(s, d));
}

LV_INSTANTIATE_PER_CLASS(CopyTest);

}  // namespace
