#include "cpu/dispatch.h"

#include <cpuid.h>

#include "cpu/cache_size.h"
#include "cpu/dispatch_testing.h"

std::atomic<int32_t> g_dispatchIndex{-1};

namespace {

// Frame state. Plain values would do for the single start-up initialisation;
// atomics make a first-call race between threads harmless: every racer
// computes the same values, and the index is published last with release
// order, so a thread that sees an index sees the masks stored before it.
std::atomic<uint64_t> g_enabledMask{7};
std::atomic<uint64_t> g_detectedMask{0};
std::atomic<int32_t> g_detectedValid{0};

// Test-only: the class a LazyProcessorClass forces (-1: none), and how many
// times InitProcessorDispatch published each class so. Never set by the product.
std::atomic<int32_t> g_forcedClass{-1};
std::atomic<uint64_t> g_forcedPublications[kProcessorClassCount]{};

void RealCpuid(uint32_t leaf, uint32_t subleaf, CpuidRegisters* out) {
  unsigned a = 0, b = 0, c = 0, d = 0;
  __cpuid_count(leaf, subleaf, a, b, c, d);
  *out = CpuidRegisters{a, b, c, d};
}

uint64_t RealXgetbv(uint32_t xcr) {
  uint32_t lo = 0, hi = 0;
  // XGETBV by its encoding: the baseline flags do not enable the mnemonic's intrinsic.
  __asm__ volatile(".byte 0x0f, 0x01, 0xd0" : "=a"(lo), "=d"(hi) : "c"(xcr));
  return (uint64_t{hi} << 32) | lo;
}

std::atomic<CpuidProbeFn> g_cpuid{&RealCpuid};
std::atomic<XgetbvProbeFn> g_xgetbv{&RealXgetbv};

uint64_t ReadXcr0() { return g_xgetbv.load(std::memory_order_relaxed)(0); }

constexpr bool Bit(uint32_t word, int bit) { return ((word >> bit) & 1u) != 0; }

// The class rules, first match wins: (request must have all of `when`) ->
// class, required mask.
struct ClassRule {
  uint64_t when;
  int32_t cls;
  uint64_t required;
};
constexpr ClassRule kClassRules[] = {
    {0x7300000, 7, 0x73081DF}, {0xF00000, 6, 0xF081DF}, {0x8000, 5, 0x81DF}, {0x100, 4, 0x1DF},
    {0x80, 3, 0xDF},           {0x40, 2, 0x5F},         {0x20, 2, 0x3F},     {0x10, 2, 0x1F},
    {0x8, 1, 0xF},             {0x4, 0, 0x7},
};

}  // namespace

// ---- Probes ----------------------------------------------------------------------

int32_t HasCpuid() { return 1; }

void ReadCpuid(CpuidRegisters* registers, uint32_t leaf, uint32_t subleaf) {
  g_cpuid.load(std::memory_order_relaxed)(leaf, subleaf, registers);
}

uint32_t MaxBasicCpuidLeaf() {
  CpuidRegisters r{};
  ReadCpuid(&r, 0, 0);
  return r.eax;
}

int32_t IsAvxEnabledByOs() {
  CpuidRegisters r{};
  ReadCpuid(&r, 1, 0);
  if (!Bit(r.ecx, 27) || !Bit(r.ecx, 28)) {
    return 0;
  }
  return (ReadXcr0() & 0x6) == 0x6 ? 1 : 0;
}

int32_t IsAvx512EnabledByOs() {
  if (IsAvxEnabledByOs() == 0) {
    return 0;
  }
  return (ReadXcr0() & 0xE6) == 0xE6 ? 1 : 0;
}

int32_t IsGenuineIntel() {
  CpuidRegisters r{};
  ReadCpuid(&r, 0, 0);
  // "Genu" "ineI" "ntel" in EBX, EDX, ECX, little-endian.
  return (r.ebx == 0x756E6547u && r.edx == 0x49656E69u && r.ecx == 0x6C65746Eu) ? 1 : 0;
}

// ---- Detection -------------------------------------------------------------------

int32_t DetectFeatureMask(uint64_t* maskOut) {
  if (g_detectedValid.load(std::memory_order_acquire) != 0) {
    *maskOut = g_detectedMask.load(std::memory_order_relaxed);
    return 1;
  }
  if (HasCpuid() == 0) {
    return 0;
  }
  CpuidRegisters leaf0{}, ext0{}, leaf1{};
  ReadCpuid(&leaf0, 0, 0);
  ReadCpuid(&ext0, 0x80000000u, 0);
  ReadCpuid(&leaf1, 1, 0);
  const uint32_t maxBasic = leaf0.eax;
  const uint32_t maxExtended = ext0.eax;

  uint64_t mask = 0;
  auto set = [&mask](bool on, uint64_t bit) {
    if (on) {
      mask |= bit;
    }
  };
  set(Bit(leaf1.edx, 23), kFeatureMmx);
  set(Bit(leaf1.edx, 25), kFeatureSse);
  set(Bit(leaf1.edx, 26), kFeatureSse2);
  set(Bit(leaf1.ecx, 0), kFeatureSse3);
  set(Bit(leaf1.ecx, 9), kFeatureSsse3);
  set(Bit(leaf1.ecx, 22), kFeatureMovbe);
  set(Bit(leaf1.ecx, 19), kFeatureSse41);
  set(Bit(leaf1.ecx, 20), kFeatureSse42);
  set(Bit(leaf1.ecx, 28), kFeatureAvx);
  set(Bit(leaf1.ecx, 25), kFeatureAes);
  set(Bit(leaf1.ecx, 1), kFeaturePclmulqdq);
  set(Bit(leaf1.ecx, 30), kFeatureRdrand);
  set(Bit(leaf1.ecx, 29), kFeatureF16c);
  if (Bit(leaf1.ecx, 27) && Bit(leaf1.ecx, 28)) {
    set(IsAvxEnabledByOs() != 0, kFeatureOsYmmState);
  }
  if (((leaf1.eax >> 8) & 0xF) == 0xB) {
    CpuidRegisters r{};
    ReadCpuid(&r, 0x20000001u, 0);
    set(Bit(r.edx, 1), kFeatureFamilyBVector);
  }
  if (maxBasic >= 7) {
    CpuidRegisters l7{};
    ReadCpuid(&l7, 7, 0);
    set(Bit(l7.ebx, 19), kFeatureAdx);
    set(Bit(l7.ebx, 18), kFeatureRdseed);
    set(Bit(l7.ebx, 29), kFeatureSha);
    set(Bit(l7.ebx, 16), kFeatureAvx512F);
    set(Bit(l7.ebx, 28), kFeatureAvx512Cd);
    set(Bit(l7.ebx, 27), kFeatureAvx512Er);
    set(Bit(l7.ebx, 26), kFeatureAvx512Pf);
    set(Bit(l7.ebx, 30), kFeatureAvx512Bw);
    set(Bit(l7.ebx, 17), kFeatureAvx512Dq);
    set(Bit(l7.ebx, 31), kFeatureAvx512Vl);
    set(Bit(l7.ecx, 1), kFeatureAvx512Vbmi);
    set(Bit(l7.ebx, 14), kFeatureMpx);
    set(Bit(leaf1.ecx, 12) && Bit(l7.ebx, 5) && Bit(l7.ebx, 3) && Bit(l7.ebx, 8), kFeatureAvx2Group);
  }
  if (maxExtended >= 0x80000001u) {
    CpuidRegisters e1{};
    ReadCpuid(&e1, 0x80000001u, 0);
    set(Bit(e1.ecx, 8), kFeaturePrefetchw);
  }
  set(((leaf1.eax >> 4) & 0xFF) == 0xB1, kFeatureFamilyBModel1);

  // The mask before the valid flag: a reader that sees the flag sees the mask.
  g_detectedMask.store(mask, std::memory_order_relaxed);
  g_detectedValid.store(1, std::memory_order_release);
  *maskOut = mask;
  return 1;
}

int32_t QueryFeatureMask(uint64_t* mask, CpuidRegisters* registers) {
  uint64_t detected = 0;
  if (DetectFeatureMask(&detected) == 0) {
    return StatusProcessorNotSupported;
  }
  if (mask == nullptr) {
    return StatusNullPointer;
  }
  const uint64_t request = *mask;
  *mask = detected;
  if (registers != nullptr) {
    if (request == kQueryFeatureMagic) {
      ReadCpuid(registers, registers->eax, registers->ecx);
    } else {
      ReadCpuid(registers, 1, 0);
    }
  }
  return StatusOk;
}

int32_t WriteEnabledMask(uint64_t mask) {
  g_enabledMask.store(mask, std::memory_order_relaxed);
  return 1;
}

int32_t StoreEnabledMask(uint64_t mask) {
  WriteEnabledMask(mask);
  return StatusOk;
}

uint64_t EnabledFeatureMask() { return g_enabledMask.load(std::memory_order_relaxed); }

void CopyEnabledToDetected() {
  g_detectedMask.store(g_enabledMask.load(std::memory_order_relaxed), std::memory_order_relaxed);
  g_detectedValid.store(1, std::memory_order_release);
}

// ---- Class choice ----------------------------------------------------------------

int32_t ChooseProcessorClass(uint64_t request, int32_t* classOut) {
  *classOut = 0;
  int32_t checkStatus = StatusOk;
  if ((request & kFeatureNoChecksFlag) != 0) {
    request &= ~kFeatureNoChecksFlag;
    CopyEnabledToDetected();
  } else {
    uint64_t detected = 0;
    DetectFeatureMask(&detected);
    if ((request & kFeatureUnknownBits) != 0) {
      checkStatus = StatusUnknownFeatureBits;
    }
    if ((request & kFeatureAvxFamilyBits) != 0 && (detected & kFeatureOsYmmState) == 0) {
      request &= ~uint64_t{kFeatureAvxFamilyBits};
      checkStatus = StatusFeatureNotAvailable;
    } else if ((request & kFeatureAvx512Bits) != 0 && IsAvx512EnabledByOs() == 0) {
      // The AVX-512 classes also need the operating system to save the opmask
      // and ZMM registers; without that their instructions fault.
      request &= ~uint64_t{kFeatureAvx512Bits};
      checkStatus = StatusFeatureNotAvailable;
    }
    for (int bit = 0; bit < 64; ++bit) {
      const uint64_t b = uint64_t{1} << bit;
      if ((request & b) != 0 && (detected & b) == 0) {
        checkStatus = StatusFeatureNotAvailable;
        break;
      }
    }
  }

  int32_t cls = 0;
  uint64_t required = (request & kFeatureSse) != 0 ? 0x3 : 0x1;
  int32_t classResult = StatusProcessorNotSupported;
  for (const ClassRule& rule : kClassRules) {
    if ((request & rule.when) == rule.when) {
      cls = rule.cls;
      required = rule.required;
      classResult = (request & required) == required ? StatusOk : StatusClassFeaturesIncomplete;
      break;
    }
  }
  *classOut = cls;
  StoreEnabledMask(request | required);
  return checkStatus != StatusOk ? checkStatus : classResult;
}

// ---- Initialisation --------------------------------------------------------------

int32_t InitProcessorDispatch() {
  // Only a test forces a class; the check costs one load on this cold path.
  const int32_t forced = g_forcedClass.load(std::memory_order_acquire);
  if (forced >= 0) [[unlikely]] {
    g_forcedPublications[forced].fetch_add(1, std::memory_order_relaxed);
    g_dispatchIndex.store(forced, std::memory_order_release);
    return StatusOk;
  }
  uint64_t detected = 0;
  if (QueryFeatureMask(&detected, nullptr) != StatusOk) {
    // Cannot happen on x86-64 (CPUID always exists); fall back to the baseline.
    g_dispatchIndex.store(0, std::memory_order_release);
    StoreEnabledMask(7);
    detected = 7;
  }
  int32_t cls = 0;
  int32_t status = ChooseProcessorClass(detected, &cls);
  g_dispatchIndex.store(cls, std::memory_order_release);
  if (IsGenuineIntel() == 0) {
    status = StatusNonIntelProcessor;
  }
  return status;
}

const char* ProcessorClassSuffix(int cls) {
  static const char* const kSuffixes[kProcessorClassCount] = {"Sse2", "Sse3", "Ssse3", "Sse42",
                                                              "Avx",  "Avx2", "Avx512ManyCore", "Avx512"};
  return (cls >= 0 && cls < kProcessorClassCount) ? kSuffixes[cls] : "?";
}

void MathErrorCallback(int32_t, int32_t, const void*, const void*, void*, void*, int32_t*) {}

int32_t CurrentProcessorClass() {
  int32_t idx = g_dispatchIndex.load(std::memory_order_acquire);
  if (idx < 0) {
    InitProcessorDispatch();
    idx = g_dispatchIndex.load(std::memory_order_acquire);
  }
  return idx;
}

// ---- Test-only -------------------------------------------------------------------

bool IsProcessorClassRunnable(int cls) {
  __builtin_cpu_init();
  switch (cls) {
    case 0:
      return __builtin_cpu_supports("sse2");
    case 1:
      return __builtin_cpu_supports("sse3");
    case 2:
      return __builtin_cpu_supports("ssse3");
    case 3:
      return __builtin_cpu_supports("sse4.2") && __builtin_cpu_supports("popcnt");
    case 4:
      return __builtin_cpu_supports("avx");
    case 5:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi") &&
             __builtin_cpu_supports("bmi2");
    case 6:
      return IsProcessorClassRunnable(5) && __builtin_cpu_supports("avx512f") &&
             __builtin_cpu_supports("avx512cd");
    case 7:
      return IsProcessorClassRunnable(6) && __builtin_cpu_supports("avx512bw") &&
             __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl");
    default:
      return false;
  }
}

ScopedProcessorClass::ScopedProcessorClass(int cls) : previous_(CurrentProcessorClass()) {
  g_dispatchIndex.store(cls, std::memory_order_release);
}

ScopedProcessorClass::~ScopedProcessorClass() { g_dispatchIndex.store(previous_, std::memory_order_release); }

LazyProcessorClass::LazyProcessorClass(int cls)
    : cls_(cls),
      previousIndex_(g_dispatchIndex.load(std::memory_order_acquire)),
      previousForced_(g_forcedClass.load(std::memory_order_relaxed)),
      publicationsAtStart_(g_forcedPublications[cls].load(std::memory_order_relaxed)) {
  g_forcedClass.store(cls, std::memory_order_release);
  g_dispatchIndex.store(-1, std::memory_order_release);
}

LazyProcessorClass::~LazyProcessorClass() {
  g_forcedClass.store(previousForced_, std::memory_order_release);
  g_dispatchIndex.store(previousIndex_, std::memory_order_release);
}

bool LazyProcessorClass::Published() const {
  return g_forcedPublications[cls_].load(std::memory_order_relaxed) != publicationsAtStart_;
}

void SetProcessorProbesForTest(CpuidProbeFn cpuid, XgetbvProbeFn xgetbv) {
  g_cpuid.store(cpuid != nullptr ? cpuid : &RealCpuid, std::memory_order_relaxed);
  g_xgetbv.store(xgetbv != nullptr ? xgetbv : &RealXgetbv, std::memory_order_relaxed);
}

void ResetDispatchFrameForTest() {
  g_forcedClass.store(-1, std::memory_order_release);
  g_dispatchIndex.store(-1, std::memory_order_release);
  g_enabledMask.store(7, std::memory_order_relaxed);
  g_detectedValid.store(0, std::memory_order_relaxed);
  g_detectedMask.store(0, std::memory_order_relaxed);
  ResetCacheSizeCacheForTest();
}

bool DetectionCacheForTest(uint64_t* mask) {
  *mask = g_detectedMask.load(std::memory_order_relaxed);
  return g_detectedValid.load(std::memory_order_acquire) != 0;
}
