// Processor classification and the dispatch frame, against fake processor
// profiles and against this processor.
#include <cpuid.h>

#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "primitives/alloc/alloc.h"
#include "cpu/dispatch.h"
#include "primitives/zerofill/zerofill.h"
#include "cpu/dispatch_testing.h"
#include "support/fake_processor.h"

namespace {

using lv_test::FakeProcessor;
using lv_test::ScopedFakeProcessor;

struct ProfileCase {
  const char* name;
  FakeProcessor::Profile profile;
  const char* vendor;
  uint64_t xcr0;
  int32_t expectClass;
  int32_t expectStatus;
};

const ProfileCase kProfiles[] = {
    {"Sse2Only", FakeProcessor::kSse2Only, "GenuineIntel", 0x7, 0, StatusOk},
    {"Sse3", FakeProcessor::kSse3, "GenuineIntel", 0x7, 1, StatusOk},
    {"Sse41WithoutSse42", FakeProcessor::kSse41, "GenuineIntel", 0x7, 2, StatusOk},
    {"Nehalem", FakeProcessor::kNehalem, "GenuineIntel", 0x7, 3, StatusOk},
    {"SandyBridge", FakeProcessor::kSandyBridge, "GenuineIntel", 0x7, 4, StatusOk},
    {"Haswell", FakeProcessor::kHaswell, "GenuineIntel", 0x7, 5, StatusOk},
    {"KnightsLanding", FakeProcessor::kKnightsLanding, "GenuineIntel", 0xE7, 6, StatusOk},
    {"SkylakeServer", FakeProcessor::kSkylakeServer, "GenuineIntel", 0xE7, 7, StatusOk},
    // Another vendor: the class still follows the features, the status says 20.
    {"SkylakeServerOtherVendor", FakeProcessor::kSkylakeServer, "AuthenticAMD", 0xE7, 7, StatusNonIntelProcessor},
    {"HaswellOtherVendor", FakeProcessor::kHaswell, "AuthenticAMD", 0x7, 5, StatusNonIntelProcessor},
    // No operating-system support for the YMM state: the AVX family is dropped.
    {"SkylakeServerNoYmmState", FakeProcessor::kSkylakeServer, "GenuineIntel", 0x3, 3, StatusFeatureNotAvailable},
    {"HaswellNoYmmState", FakeProcessor::kHaswell, "GenuineIntel", 0x3, 3, StatusFeatureNotAvailable},
    // YMM state saved but not the opmask/ZMM state: the AVX-512 features are dropped.
    {"SkylakeServerNoZmmState", FakeProcessor::kSkylakeServer, "GenuineIntel", 0x7, 5, StatusFeatureNotAvailable},
    {"KnightsLandingNoZmmState", FakeProcessor::kKnightsLanding, "GenuineIntel", 0x7, 5, StatusFeatureNotAvailable},
};

void PrintTo(const ProfileCase& c, std::ostream* os) { *os << c.name; }

class ProfileTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileTest, InitProcessorDispatchChoosesTheClass) {
  const ProfileCase& c = GetParam();
  FakeProcessor p = FakeProcessor::WithFeatures(c.profile, c.vendor);
  p.xcr0 = c.xcr0;
  ScopedFakeProcessor use(p);
  EXPECT_EQ(g_dispatchIndex.load(), -1);
  EXPECT_EQ(InitProcessorDispatch(), c.expectStatus);
  EXPECT_EQ(g_dispatchIndex.load(), c.expectClass);
  // A second initialisation stores the same values and returns the same status.
  const uint64_t enabled = EnabledFeatureMask();
  EXPECT_EQ(InitProcessorDispatch(), c.expectStatus);
  EXPECT_EQ(g_dispatchIndex.load(), c.expectClass);
  EXPECT_EQ(EnabledFeatureMask(), enabled);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ProfileTest, ::testing::ValuesIn(kProfiles),
                         [](const ::testing::TestParamInfo<ProfileCase>& info) { return std::string(info.param.name); });

// Every feature bit comes from exactly its CPUID bit.
struct BitCase {
  uint32_t leaf;
  char reg;
  int bit;
  uint64_t mask;
};
const BitCase kBits[] = {
    {1, 'd', 23, 0x1},      {1, 'd', 25, 0x2},       {1, 'd', 26, 0x4},       {1, 'c', 0, 0x8},
    {1, 'c', 9, 0x10},      {1, 'c', 22, 0x20},      {1, 'c', 19, 0x40},      {1, 'c', 20, 0x80},
    {1, 'c', 28, 0x100},    {1, 'c', 25, 0x400},     {1, 'c', 1, 0x800},      {1, 'c', 30, 0x2000},
    {1, 'c', 29, 0x4000},   {7, 'b', 19, 0x10000},   {7, 'b', 18, 0x20000},   {7, 'b', 29, 0x80000},
    {7, 'b', 16, 0x100000}, {7, 'b', 28, 0x200000},  {7, 'b', 27, 0x400000},  {7, 'b', 26, 0x800000},
    {7, 'b', 30, 0x1000000}, {7, 'b', 17, 0x2000000}, {7, 'b', 31, 0x4000000}, {7, 'c', 1, 0x8000000},
    {7, 'b', 14, 0x10000000}, {0x80000001u, 'c', 8, 0x40000},
    // Parts of the AVX2 group alone set nothing.
    {1, 'c', 12, 0}, {7, 'b', 5, 0}, {7, 'b', 3, 0}, {7, 'b', 8, 0},
};

uint32_t* Reg(CpuidRegisters& r, char reg) {
  return reg == 'a' ? &r.eax : reg == 'b' ? &r.ebx : reg == 'c' ? &r.ecx : &r.edx;
}

TEST(FeatureMask, EachBitComesFromItsCpuidBit) {
  for (const BitCase& c : kBits) {
    FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSse2Only);
    p.leaf1 = CpuidRegisters{0x000506E3, 0, 0, 0};
    CpuidRegisters& r = c.leaf == 1 ? p.leaf1 : c.leaf == 7 ? p.leaf7 : p.ext1;
    *Reg(r, c.reg) |= 1u << c.bit;
    ScopedFakeProcessor use(p);
    uint64_t mask = 0;
    ASSERT_EQ(DetectFeatureMask(&mask), 1);
    EXPECT_EQ(mask, c.mask) << "leaf " << std::hex << c.leaf << " " << c.reg << " bit " << std::dec << c.bit;
  }
}

TEST(FeatureMask, GroupsAndGatedBits) {
  {  // The AVX2 group needs FMA, AVX2, BMI1 and BMI2 together; OS state needs OSXSAVE+AVX+XCR0.
    FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kHaswell);
    ScopedFakeProcessor use(p);
    uint64_t mask = 0;
    ASSERT_EQ(DetectFeatureMask(&mask), 1);
    EXPECT_EQ(mask & (kFeatureAvx2Group | kFeatureOsYmmState), kFeatureAvx2Group | kFeatureOsYmmState);
  }
  {  // Leaf 7 is not read when the max basic leaf is below 7.
    FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSkylakeServer);
    p.leaf0.eax = 6;
    ScopedFakeProcessor use(p);
    uint64_t mask = 0;
    ASSERT_EQ(DetectFeatureMask(&mask), 1);
    EXPECT_EQ(mask & 0x1FFF8000, 0u);
  }
  {  // OSXSAVE without XCR0 YMM bits: no bit 9.
    FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSandyBridge);
    p.xcr0 = 0x3;
    ScopedFakeProcessor use(p);
    uint64_t mask = 0;
    ASSERT_EQ(DetectFeatureMask(&mask), 1);
    EXPECT_EQ(mask & kFeatureOsYmmState, 0u);
    EXPECT_NE(mask & kFeatureAvx, 0u);
  }
  {  // Family 0xB: bit 12 from leaf 0x20000001, bit 31 for model 1.
    FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSse2Only);
    p.leaf1.eax = 0xB10;
    p.leafB0000001.edx = 0x2;
    ScopedFakeProcessor use(p);
    uint64_t mask = 0;
    ASSERT_EQ(DetectFeatureMask(&mask), 1);
    EXPECT_EQ(mask & (kFeatureFamilyBVector | kFeatureFamilyBModel1), kFeatureFamilyBVector | kFeatureFamilyBModel1);
  }
  {  // PREFETCHW only when the extended leaf exists.
    FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSse2Only);
    p.ext1.ecx = 1u << 8;
    p.ext0.eax = 0x80000000u;
    ScopedFakeProcessor use(p);
    uint64_t mask = 0;
    ASSERT_EQ(DetectFeatureMask(&mask), 1);
    EXPECT_EQ(mask & kFeaturePrefetchw, 0u);
  }
}

TEST(FeatureMask, DetectionRunsOnce) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kHaswell);
  ScopedFakeProcessor use(p);
  uint64_t first = 0, second = 0;
  ASSERT_EQ(DetectFeatureMask(&first), 1);
  const int calls = p.cpuidCalls;
  p.leaf1.ecx = 0;  // a changed processor is not seen again
  ASSERT_EQ(DetectFeatureMask(&second), 1);
  EXPECT_EQ(first, second);
  EXPECT_EQ(p.cpuidCalls, calls);
}

TEST(QueryFeatureMask, NullMagicAndLeafOne) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kHaswell);
  p.leaf7.ecx = 0x1234;
  ScopedFakeProcessor use(p);
  EXPECT_EQ(QueryFeatureMask(nullptr, nullptr), StatusNullPointer);

  uint64_t mask = kQueryFeatureMagic;
  CpuidRegisters regs{7, 0, 0, 0};
  ASSERT_EQ(QueryFeatureMask(&mask, &regs), StatusOk);
  EXPECT_EQ(mask & kFeatureAvx2Group, kFeatureAvx2Group);
  EXPECT_EQ(regs.ebx, p.leaf7.ebx);
  EXPECT_EQ(regs.ecx, 0x1234u);

  mask = 0;  // not the magic: leaf 1 whatever the record holds
  regs = CpuidRegisters{7, 0, 0, 0};
  ASSERT_EQ(QueryFeatureMask(&mask, &regs), StatusOk);
  EXPECT_EQ(regs.eax, p.leaf1.eax);
  EXPECT_EQ(regs.ecx, p.leaf1.ecx);
}

// The request words of ChooseProcessorClass.
TEST(ChooseProcessorClass, RequestWords) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSkylakeServer);
  ScopedFakeProcessor use(p);
  int32_t cls = -1;

  EXPECT_EQ(ChooseProcessorClass(0, &cls), StatusProcessorNotSupported);
  EXPECT_EQ(cls, 0);
  EXPECT_EQ(EnabledFeatureMask(), 0x1u);

  EXPECT_EQ(ChooseProcessorClass(0x2, &cls), StatusProcessorNotSupported);
  EXPECT_EQ(cls, 0);
  EXPECT_EQ(EnabledFeatureMask(), 0x3u);

  EXPECT_EQ(ChooseProcessorClass(0x7, &cls), StatusOk);
  EXPECT_EQ(cls, 0);

  // A class rule whose required bits are incomplete: 51.
  EXPECT_EQ(ChooseProcessorClass(0x8000 | 0x7, &cls), StatusClassFeaturesIncomplete);
  EXPECT_EQ(cls, 5);
  EXPECT_EQ(EnabledFeatureMask(), 0x81DFu);

  // A feature the processor lacks (ER): 49, the class still follows the request.
  EXPECT_EQ(ChooseProcessorClass(0xF081DF, &cls), StatusFeatureNotAvailable);
  EXPECT_EQ(cls, 6);

  // Bit 29 (never detected): 49.
  EXPECT_EQ(ChooseProcessorClass(0x7 | (1ull << 29), &cls), StatusFeatureNotAvailable);
  EXPECT_EQ(cls, 0);
}

TEST(ChooseProcessorClass, NoChecksRequest) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSse2Only);
  ScopedFakeProcessor use(p);
  int32_t cls = -1;
  uint64_t cache = 0;
  ASSERT_FALSE(DetectionCacheForTest(&cache));
  const uint64_t enabledBefore = EnabledFeatureMask();  // 7 at process start
  EXPECT_EQ(ChooseProcessorClass(kFeatureNoChecksFlag | 0x8000, &cls), StatusClassFeaturesIncomplete);
  EXPECT_EQ(cls, 5);
  EXPECT_EQ(EnabledFeatureMask(), 0x81DFu);
  ASSERT_TRUE(DetectionCacheForTest(&cache));
  EXPECT_EQ(cache, enabledBefore);
  EXPECT_EQ(p.cpuidCalls, 0) << "a no-checks request detects nothing";
}

TEST(ChooseProcessorClass, UnknownBitsCarriedByNoChecksRequestsGive50) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSse2Only);
  ScopedFakeProcessor use(p);
  int32_t cls = -1;
  const uint64_t bit29 = 1ull << 29;
  ChooseProcessorClass(kFeatureNoChecksFlag | bit29 | 0x7, &cls);  // enabled mask gets bit 29
  ChooseProcessorClass(kFeatureNoChecksFlag | bit29 | 0x7, &cls);  // the cache gets it
  EXPECT_EQ(ChooseProcessorClass(bit29 | 0x7, &cls), StatusUnknownFeatureBits);
  EXPECT_EQ(cls, 0);
}

TEST(ChooseProcessorClass, AvxBitsWithoutOsSupportAreDropped) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSkylakeServer);
  p.xcr0 = 0x3;
  ScopedFakeProcessor use(p);
  int32_t cls = -1;
  EXPECT_EQ(ChooseProcessorClass(0x73081DF, &cls), StatusFeatureNotAvailable);
  EXPECT_EQ(cls, 3);
  EXPECT_EQ(EnabledFeatureMask(), 0xDFu);
}

TEST(Dispatch, FirstEntryPointCallInitialisesTheFrame) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kHaswell);
  ScopedFakeProcessor use(p);
  ASSERT_EQ(g_dispatchIndex.load(), -1);
  void* block = VectorAllocateFloat32(100);  // through the init stub
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 64, 0u);
  EXPECT_EQ(g_dispatchIndex.load(), 5);
  VectorFree(block);
  EXPECT_EQ(CurrentProcessorClass(), 5);
}

// First calls from several threads at once: every thread initialises (or
// finds the index published by another) and gets the same class and result.
TEST(Dispatch, ConcurrentFirstCallsAgree) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kHaswell);
  ScopedFakeProcessor use(p);
  constexpr int kThreads = 8;
  std::vector<std::vector<uint8_t>> buffers(kThreads, std::vector<uint8_t>(1000, 0xEE));
  std::vector<int32_t> status(kThreads, -1);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] { status[t] = VectorZeroFillUint8(buffers[t].data() + 1, 998); });
  }
  for (std::thread& t : threads) {
    t.join();
  }
  EXPECT_EQ(g_dispatchIndex.load(), 5);
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(status[t], StatusOk);
    EXPECT_EQ(buffers[t][0], 0xEE);
    EXPECT_EQ(buffers[t][999], 0xEE);
    for (int i = 1; i < 999; ++i) {
      ASSERT_EQ(buffers[t][i], 0) << "thread " << t;
    }
  }
}

TEST(Dispatch, ScopedProcessorClassForcesAndRestores) {
  const int32_t original = CurrentProcessorClass();
  {
    ScopedProcessorClass force(2);
    EXPECT_EQ(g_dispatchIndex.load(), 2);
    {
      ScopedProcessorClass inner(0);
      EXPECT_EQ(CurrentProcessorClass(), 0);
    }
    EXPECT_EQ(CurrentProcessorClass(), 2);
  }
  EXPECT_EQ(CurrentProcessorClass(), original);
}

// A lazy forcing sends the index back to -1; the first entry-point call then
// publishes the forced class without detecting, and the frame detects again
// once the forcing ends.
TEST(Dispatch, LazyProcessorClassIsPublishedByTheFirstCall) {
  FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kHaswell);
  ScopedFakeProcessor use(p);
  uint8_t buffer[64] = {};
  uint64_t mask = 0;
  {
    LazyProcessorClass force(2);
    EXPECT_EQ(g_dispatchIndex.load(), -1);
    EXPECT_FALSE(force.Published());
    ASSERT_EQ(VectorZeroFillUint8(buffer, 64), StatusOk);  // through the init stub
    EXPECT_TRUE(force.Published());
    EXPECT_EQ(g_dispatchIndex.load(), 2);
    EXPECT_FALSE(DetectionCacheForTest(&mask));
    {
      LazyProcessorClass inner(0);
      EXPECT_EQ(g_dispatchIndex.load(), -1);
      EXPECT_EQ(CurrentProcessorClass(), 0);
      EXPECT_TRUE(inner.Published());
    }
    EXPECT_EQ(g_dispatchIndex.load(), 2);
  }
  EXPECT_EQ(g_dispatchIndex.load(), -1);
  EXPECT_EQ(CurrentProcessorClass(), 5);
  EXPECT_TRUE(DetectionCacheForTest(&mask));
}

// A forcing that nothing reads is never published, and publishing another
// class does not count for it.
TEST(Dispatch, LazyProcessorClassUnusedIsNotPublished) {
  const int32_t original = CurrentProcessorClass();
  {
    LazyProcessorClass force(3);
    {
      LazyProcessorClass other(1);
      EXPECT_EQ(CurrentProcessorClass(), 1);
    }
    EXPECT_FALSE(force.Published());
  }
  EXPECT_EQ(CurrentProcessorClass(), original);
}

// This processor: the class follows its own features (OS state included);
// the status is 20 unless its vendor is GenuineIntel.
TEST(Dispatch, ThisProcessor) {
  ResetDispatchFrameForTest();
  unsigned a = 0, b = 0, c = 0, d = 0;
  __cpuid(0, a, b, c, d);
  char vendor[13] = {};
  std::memcpy(vendor, &b, 4);
  std::memcpy(vendor + 4, &d, 4);
  std::memcpy(vendor + 8, &c, 4);
  int expectClass = 0;
  for (int k = 7; k >= 0; --k) {
    if (k != 6 && IsProcessorClassRunnable(k)) {
      expectClass = k;
      break;
    }
  }
  const int32_t status = InitProcessorDispatch();
  EXPECT_EQ(g_dispatchIndex.load(), expectClass);
  if (std::strcmp(vendor, "GenuineIntel") == 0) {
    EXPECT_NE(status, StatusNonIntelProcessor);
  } else {
    EXPECT_EQ(status, StatusNonIntelProcessor) << vendor;
  }
  std::printf("this processor: %s, class %d (%s), status %d\n", vendor, g_dispatchIndex.load(),
              ProcessorClassSuffix(g_dispatchIndex.load()), status);
}

TEST(Dispatch, ProbesOfThisProcessor) {
  EXPECT_EQ(HasCpuid(), 1);
  EXPECT_GE(MaxBasicCpuidLeaf(), 1u);
  EXPECT_EQ(IsAvxEnabledByOs() != 0, IsProcessorClassRunnable(4));
}

TEST(Dispatch, MathErrorCallbackChangesNothing) {
  float a[2] = {1.0f, -2.0f};
  float r[2] = {3.0f, 4.0f};
  int32_t cell = 42;
  MathErrorCallback(18, 1, a, a, r, r, &cell);
  MathErrorCallback(19, -5, nullptr, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(a[0], 1.0f);
  EXPECT_EQ(a[1], -2.0f);
  EXPECT_EQ(r[0], 3.0f);
  EXPECT_EQ(r[1], 4.0f);
  EXPECT_EQ(cell, 42);
}

TEST(Dispatch, SuffixNames) {
  const char* expected[] = {"Sse2", "Sse3", "Ssse3", "Sse42", "Avx", "Avx2", "Avx512ManyCore", "Avx512"};
  for (int k = 0; k < kProcessorClassCount; ++k) {
    EXPECT_STREQ(ProcessorClassSuffix(k), expected[k]);
  }
  EXPECT_STREQ(ProcessorClassSuffix(8), "?");
  EXPECT_STREQ(ProcessorClassSuffix(-1), "?");
}

}  // namespace
