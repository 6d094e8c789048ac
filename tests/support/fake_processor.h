// A fake processor for the classification and cache-size tests: CPUID and
// XGETBV answers from a profile instead of the real instructions.
//
//   FakeProcessor p = FakeProcessor::WithFeatures(FakeProcessor::kSkylakeServer);
//   ScopedFakeProcessor use(p);   // installs the probes, resets the frame
#pragma once

#include <cstdint>
#include <cstring>

#include "cpu/dispatch.h"
#include "cpu/dispatch_testing.h"

namespace lv_test {

struct FakeProcessor {
  static constexpr int kMaxLeaf4 = 8;
  CpuidRegisters leaf0{};
  CpuidRegisters leaf1{};
  CpuidRegisters leaf2{};
  CpuidRegisters leaf7{};
  CpuidRegisters leafB0000001{};  // 0x20000001
  CpuidRegisters ext0{};
  CpuidRegisters ext1{};
  CpuidRegisters leaf4[kMaxLeaf4]{};  // sub-leaves; type 0 ends the walk
  uint64_t xcr0 = 0xE7;               // x87, SSE, AVX, opmask, ZMM_Hi256, Hi16_ZMM
  mutable int cpuidCalls = 0;

  enum Profile {
    kSse2Only,
    kSse3,
    kSse41,       // SSSE3 and SSE4.1 but no SSE4.2
    kNehalem,     // SSE4.2, no AVX
    kSandyBridge, // AVX
    kHaswell,     // AVX2 group
    kKnightsLanding,  // AVX-512 F, CD, ER, PF
    kSkylakeServer,   // AVX-512 F, CD, BW, DQ, VL
  };

  void SetVendor(const char* v12) {
    std::memcpy(&leaf0.ebx, v12, 4);
    std::memcpy(&leaf0.edx, v12 + 4, 4);
    std::memcpy(&leaf0.ecx, v12 + 8, 4);
  }

  static FakeProcessor WithFeatures(Profile profile, const char* vendor = "GenuineIntel") {
    FakeProcessor p;
    p.SetVendor(vendor);
    p.leaf0.eax = 0xD;
    p.ext0.eax = 0x80000008u;
    p.leaf1.eax = 0x000506E3;  // family 6
    p.leaf1.edx = (1u << 23) | (1u << 25) | (1u << 26);
    if (profile >= kSse3) p.leaf1.ecx |= 1u << 0;
    if (profile >= kSse41) p.leaf1.ecx |= (1u << 9) | (1u << 19);
    if (profile >= kNehalem) p.leaf1.ecx |= 1u << 20;
    if (profile >= kSandyBridge) p.leaf1.ecx |= (1u << 27) | (1u << 28);
    if (profile >= kHaswell) {
      p.leaf1.ecx |= 1u << 12;                              // FMA
      p.leaf7.ebx |= (1u << 5) | (1u << 3) | (1u << 8);     // AVX2, BMI1, BMI2
    }
    if (profile == kKnightsLanding) {
      p.leaf7.ebx |= (1u << 16) | (1u << 28) | (1u << 27) | (1u << 26);
    }
    if (profile == kSkylakeServer) {
      p.leaf7.ebx |= (1u << 16) | (1u << 28) | (1u << 30) | (1u << 17) | (1u << 31);
    }
    return p;
  }

  void Answer(uint32_t leaf, uint32_t sub, CpuidRegisters* out) const {
    __atomic_fetch_add(&cpuidCalls, 1, __ATOMIC_RELAXED);  // threads may share a profile
    *out = CpuidRegisters{};
    if (leaf >= 0x80000000u) {
      if (leaf > ext0.eax) return;
      if (leaf == 0x80000000u) *out = ext0;
      if (leaf == 0x80000001u) *out = ext1;
      return;
    }
    if (leaf == 0x20000001u) {
      *out = leafB0000001;
      return;
    }
    if (leaf > leaf0.eax) return;
    switch (leaf) {
      case 0: *out = leaf0; break;
      case 1: *out = leaf1; break;
      case 2: *out = leaf2; break;
      case 4: if (sub < kMaxLeaf4) *out = leaf4[sub]; break;
      case 7: if (sub == 0) *out = leaf7; break;
      default: break;
    }
  }

  // Leaf 4 sub-leaf of a cache: type 1 data, 2 instruction, 3 unified.
  static CpuidRegisters CacheLeaf(uint32_t type, uint32_t ways, uint32_t partitions, uint32_t line, uint32_t sets,
                                  uint32_t coreIdsMinusOne = 0) {
    return CpuidRegisters{type | (coreIdsMinusOne << 26), ((ways - 1) << 22) | ((partitions - 1) << 12) | (line - 1),
                          sets - 1, 0};
  }
};

inline const FakeProcessor*& ActiveFakeProcessor() {
  static const FakeProcessor* active = nullptr;
  return active;
}

inline void FakeCpuid(uint32_t leaf, uint32_t sub, CpuidRegisters* out) { ActiveFakeProcessor()->Answer(leaf, sub, out); }
inline uint64_t FakeXgetbv(uint32_t xcr) { return xcr == 0 ? ActiveFakeProcessor()->xcr0 : 0; }

// Installs a fake processor (kept by reference: change it freely while in
// use) and resets the frame; on destruction the real probes come back and
// the frame is reset again, so later tests see the real processor.
class ScopedFakeProcessor {
 public:
  explicit ScopedFakeProcessor(const FakeProcessor& p) {
    ActiveFakeProcessor() = &p;
    ResetDispatchFrameForTest();
    SetProcessorProbesForTest(&FakeCpuid, &FakeXgetbv);
  }
  ~ScopedFakeProcessor() {
    SetProcessorProbesForTest(nullptr, nullptr);
    ResetDispatchFrameForTest();
    ActiveFakeProcessor() = nullptr;
  }
  ScopedFakeProcessor(const ScopedFakeProcessor&) = delete;
  ScopedFakeProcessor& operator=(const ScopedFakeProcessor&) = delete;
};

}  // namespace lv_test
