// The cache-size query (leaf 4, leaf-2 descriptors) against fake processors.
#include <cpuid.h>

#include <climits>
#include <cstring>

#include <gtest/gtest.h>

#include "cpu/cache_size.h"
#include "support/fake_processor.h"

namespace {

using lv_test::FakeProcessor;
using lv_test::ScopedFakeProcessor;

FakeProcessor IntelWithLeaf4() {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kHaswell);
  p.leaf4[0] = FakeProcessor::CacheLeaf(1, 8, 1, 64, 64);      // 32 KiB data
  p.leaf4[1] = FakeProcessor::CacheLeaf(2, 8, 1, 64, 64);      // 32 KiB instruction
  p.leaf4[2] = FakeProcessor::CacheLeaf(3, 4, 1, 64, 1024);    // 256 KiB unified
  p.leaf4[3] = FakeProcessor::CacheLeaf(3, 16, 1, 64, 8192);   // 8 MiB unified
  p.leaf2 = CpuidRegisters{0x00FF0001u, 0, 0, 0};               // "use leaf 4"
  return p;
}

TEST(QueryCacheSize, Leaf4GivesTheLargestDataOrUnifiedCache) {
  FakeProcessor p = IntelWithLeaf4();
  ScopedFakeProcessor use(p);
  int32_t size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusOk);
  EXPECT_EQ(size, 8 << 20);
}

TEST(QueryCacheSize, InstructionCacheNeverCounts) {
  FakeProcessor p = IntelWithLeaf4();
  p.leaf4[1] = FakeProcessor::CacheLeaf(2, 16, 1, 64, 65536);  // 64 MiB instruction cache
  ScopedFakeProcessor use(p);
  int32_t size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusOk);
  EXPECT_EQ(size, 8 << 20);
}

TEST(QueryCacheSize, HugeCacheIsClampedNotWrapped) {
  FakeProcessor p = IntelWithLeaf4();
  p.leaf4[3] = FakeProcessor::CacheLeaf(3, 1024, 1, 64, 65536);  // 4 GiB: wraps in 32 bits
  ScopedFakeProcessor use(p);
  int32_t size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusOk);
  EXPECT_EQ(size, INT32_MAX);
}

TEST(QueryCacheSize, NoCachesInLeaf4Gives37AndZero) {
  FakeProcessor p = IntelWithLeaf4();
  p.leaf4[0] = CpuidRegisters{};
  ScopedFakeProcessor use(p);
  int32_t size = -5;
  EXPECT_EQ(QueryCacheSize(&size), StatusCacheSizeUnknown);
  EXPECT_EQ(size, 0);
}

TEST(QueryCacheSize, OtherVendorGives36OnceAndForAll) {
  FakeProcessor p = IntelWithLeaf4();
  p.SetVendor("AuthenticAMD");
  ScopedFakeProcessor use(p);
  int32_t size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusProcessorNotSupported);
  EXPECT_EQ(size, -1);
  const int calls = p.cpuidCalls;
  p.SetVendor("GenuineIntel");  // not asked again
  size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusProcessorNotSupported);
  EXPECT_EQ(size, -1);
  EXPECT_EQ(p.cpuidCalls, calls);
  EXPECT_EQ(LargeCacheSizeLookup(false), -1);
}

TEST(QueryCacheSize, AnswerIsCached) {
  FakeProcessor p = IntelWithLeaf4();
  ScopedFakeProcessor use(p);
  int32_t size = 0;
  ASSERT_EQ(QueryCacheSize(&size), StatusOk);
  const int calls = p.cpuidCalls;
  p.leaf4[3] = FakeProcessor::CacheLeaf(3, 16, 1, 64, 16384);
  EXPECT_EQ(QueryCacheSize(&size), StatusOk);
  EXPECT_EQ(size, 8 << 20);
  EXPECT_EQ(p.cpuidCalls, calls);
}

TEST(QueryCacheSize, NullPointerLeavesTheCacheUntouched) {
  FakeProcessor p = IntelWithLeaf4();
  ScopedFakeProcessor use(p);
  EXPECT_EQ(QueryCacheSize(nullptr), StatusNullPointer);
  EXPECT_EQ(p.cpuidCalls, 0);
  int32_t size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusOk);
  EXPECT_EQ(size, 8 << 20);
}

TEST(QueryCacheSize, OldProcessorsUseTheDescriptors) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSse3);
  p.leaf0.eax = 3;
  p.leaf2 = CpuidRegisters{0x00430001u, 0x2C000000u, 0, 0x4B3D0000u};  // 512 KiB, 8 MiB, 384 KiB
  ScopedFakeProcessor use(p);
  int32_t size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusOk);
  EXPECT_EQ(size, 8 << 20);
}

TEST(QueryCacheSize, MaxBasicLeafBelowTwoGives36) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSse2Only);
  p.leaf0.eax = 1;
  ScopedFakeProcessor use(p);
  int32_t size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusProcessorNotSupported);
  EXPECT_EQ(size, -1);
}

TEST(QueryCacheSize, OldProcessorWithoutKnownDescriptorGives37) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSse2Only);
  p.leaf0.eax = 2;
  p.leaf2 = CpuidRegisters{0x00000001u, 0x80004B00u, 0x01020304u, 0};  // EBX ignored (bit 31)
  ScopedFakeProcessor use(p);
  int32_t size = 7;
  EXPECT_EQ(QueryCacheSize(&size), StatusCacheSizeUnknown);
  EXPECT_EQ(size, 0);
}

struct DescriptorCase {
  const char* name;
  CpuidRegisters leaf2;
  int64_t largest;       // LargestCacheSize over the full table
  int64_t large;         // LargeCacheSizeLookup(false)
};

const DescriptorCase kDescriptors[] = {
    {"Largest24MiB", {0x00EC4301u, 0, 0, 0}, 0x1800000, 0x1800000},
    {"FirstRowWinsNotFirstByte", {0x00224D01u, 0x00000021u, 0, 0}, 0x1000000, 0x1000000},
    {"SmallOnly", {0x003D2101u, 0, 0, 0}, 0x60000, -1},
    {"CountByteNotOne", {0x004B0002u, 0, 0, 0}, -1, -1},
    {"Leaf4Only", {0x00FF0001u, 0, 0, 0}, -1, -1},
    {"Bit31HidesRegister", {0x00000001u, 0, 0x8000004Bu, 0}, -1, -1},
    {"DescriptorInEdx", {0x00000001u, 0, 0, 0x00490000u}, 0x400000, 0x400000},
    {"CountByteIsNotADescriptor", {0x00000001u | 0, 0, 0, 0}, -1, -1},
};

TEST(LargestCacheSize, DescriptorWalk) {
  for (const DescriptorCase& c : kDescriptors) {
    FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kHaswell);
    p.leaf2 = c.leaf2;
    ScopedFakeProcessor use(p);
    EXPECT_EQ(LargestCacheSize(kCacheDescriptorTable), c.largest) << c.name;
    EXPECT_EQ(LargeCacheSizeLookup(false), c.large) << c.name;
  }
}

TEST(LargeCacheSizeLookup, PerCoreDividesByCoreIdentifiers) {
  FakeProcessor p = IntelWithLeaf4();
  p.leaf2 = CpuidRegisters{0x004B0001u, 0, 0, 0};                       // 8 MiB
  p.leaf4[0] = FakeProcessor::CacheLeaf(1, 8, 1, 64, 64, /*coreIds-1=*/3);
  ScopedFakeProcessor use(p);
  EXPECT_EQ(LargeCacheSizeLookup(false), 8 << 20);
  EXPECT_EQ(LargeCacheSizeLookup(true), 2 << 20);
  p.leaf0.eax = 3;  // no leaf 4: divide by 1
  EXPECT_EQ(LargeCacheSizeLookup(true), 8 << 20);
}

TEST(LargeCacheSizeLookup, OtherVendorAnswersMinusOne) {
  FakeProcessor p = IntelWithLeaf4();
  p.leaf2 = CpuidRegisters{0x004B0001u, 0, 0, 0};
  p.SetVendor("AuthenticAMD");
  ScopedFakeProcessor use(p);
  EXPECT_EQ(LargeCacheSizeLookup(false), -1);
  EXPECT_EQ(LargeCacheSizeLookup(true), -1);
}

TEST(CacheDescriptorTable, Shape) {
  int rows = 0;
  while (kCacheDescriptorTable[rows].descriptor != 0) {
    if (rows > 0) {
      EXPECT_LE(kCacheDescriptorTable[rows].size, kCacheDescriptorTable[rows - 1].size) << "row " << rows;
    }
    ++rows;
  }
  EXPECT_EQ(rows, 55);
  int large = 0;
  while (kLargeCacheDescriptorTable[large].descriptor != 0) {
    EXPECT_EQ(kLargeCacheDescriptorTable[large].descriptor, kCacheDescriptorTable[large].descriptor);
    EXPECT_EQ(kLargeCacheDescriptorTable[large].size, kCacheDescriptorTable[large].size);
    EXPECT_GE(kLargeCacheDescriptorTable[large].size, 0x80000u);
    ++large;
  }
  EXPECT_EQ(large, 43);
  EXPECT_LT(kCacheDescriptorTable[43].size, 0x80000u);
}

TEST(CacheSizeOverride, AnswersBothQueries) {
  SetCacheSizeOverrideForTest(8 << 20);
  int32_t size = 0;
  EXPECT_EQ(QueryCacheSize(&size), StatusOk);
  EXPECT_EQ(size, 8 << 20);
  EXPECT_EQ(LargeCacheSizeLookup(true), 8 << 20);
  SetCacheSizeOverrideForTest(-1);
  EXPECT_EQ(QueryCacheSize(&size), StatusProcessorNotSupported);
  EXPECT_EQ(LargeCacheSizeLookup(false), -1);
  ClearCacheSizeOverrideForTest();
}

// This processor: other vendors answer 36 and -1.
TEST(QueryCacheSize, ThisProcessor) {
  ResetCacheSizeCacheForTest();
  unsigned a = 0, b = 0, c = 0, d = 0;
  __cpuid(0, a, b, c, d);
  const bool intel = b == 0x756E6547u && d == 0x49656E69u && c == 0x6C65746Eu;
  int32_t size = 0;
  const int32_t status = QueryCacheSize(&size);
  if (intel) {
    EXPECT_EQ(status, StatusOk);
    EXPECT_GT(size, 0);
  } else {
    EXPECT_EQ(status, StatusProcessorNotSupported);
    EXPECT_EQ(size, -1);
    EXPECT_EQ(LargeCacheSizeLookup(false), -1);
  }
  std::printf("QueryCacheSize here: status %d, size %d\n", status, size);
}

}  // namespace
