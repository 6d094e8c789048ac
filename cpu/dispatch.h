// The dispatch frame of every per-class family (vector math, primitives, FFT).
//
// Every primitive exists once per processor class. An entry point reads the
// dispatch index (one load) and jumps through its table (one indirect jump) to
// the implementation of the processor's class. Until the index is set, slot -1
// of every table, the init stub, runs InitProcessorDispatch and dispatches
// again with the caller's arguments untouched.
#pragma once

#include <atomic>
#include <cstdint>

#include "cpu/status.h"

// Processor classes; the suffixes name the implementations (VectorCopyFloat32Avx2).
enum ProcessorClass : int32_t {
  kClassSse2 = 0,
  kClassSse3 = 1,
  kClassSsse3 = 2,
  kClassSse42 = 3,
  kClassAvx = 4,
  kClassAvx2 = 5,
  kClassAvx512ManyCore = 6,
  kClassAvx512 = 7,
};
inline constexpr int kProcessorClassCount = 8;

// The suffix of a class ("Sse2" ... "Avx512"), or "?" outside 0..7.
const char* ProcessorClassSuffix(int cls);

// -1 until initialised, then the class 0..7. Published with release order
// after the masks, so a thread that sees the index sees the masks too.
extern std::atomic<int32_t> g_dispatchIndex;

// Detects the processor, chooses and stores the class; returns the frame's status.
// The class always follows the processor's own features, whatever its vendor;
// a vendor other than GenuineIntel only changes the status (20).
int32_t InitProcessorDispatch();

// ---- Feature mask -------------------------------------------------------------
// One bit per processor feature, as read from CPUID and XGETBV.
enum : uint64_t {
  kFeatureMmx = 0x1,
  kFeatureSse = 0x2,
  kFeatureSse2 = 0x4,
  kFeatureSse3 = 0x8,
  kFeatureSsse3 = 0x10,
  kFeatureMovbe = 0x20,
  kFeatureSse41 = 0x40,
  kFeatureSse42 = 0x80,
  kFeatureAvx = 0x100,
  kFeatureOsYmmState = 0x200,
  kFeatureAes = 0x400,
  kFeaturePclmulqdq = 0x800,
  kFeatureFamilyBVector = 0x1000,
  kFeatureRdrand = 0x2000,
  kFeatureF16c = 0x4000,
  kFeatureAvx2Group = 0x8000,  // AVX2 with FMA, BMI1 and BMI2
  kFeatureAdx = 0x10000,
  kFeatureRdseed = 0x20000,
  kFeaturePrefetchw = 0x40000,
  kFeatureSha = 0x80000,
  kFeatureAvx512F = 0x100000,
  kFeatureAvx512Cd = 0x200000,
  kFeatureAvx512Er = 0x400000,
  kFeatureAvx512Pf = 0x800000,
  kFeatureAvx512Bw = 0x1000000,
  kFeatureAvx512Dq = 0x2000000,
  kFeatureAvx512Vl = 0x4000000,
  kFeatureAvx512Vbmi = 0x8000000,
  kFeatureMpx = 0x10000000,
  kFeatureFamilyBModel1 = 0x80000000,
  // Bits 8, 15 and 20-26: features that need the operating system to save the YMM state.
  kFeatureAvxFamilyBits = 0x7F08100,
  // Bits 20-26: features that also need the opmask and ZMM state.
  kFeatureAvx512Bits = 0x7F00000,
  // Bits no processor sets (29, 30, 32-62).
  kFeatureUnknownBits = 0x7FFFFFFF60000000ull,
  // In a request to ChooseProcessorClass only: choose without detecting or checking.
  kFeatureNoChecksFlag = 0x8000000000000000ull,
};

// The magic word "getinfoa" (the eight letters in memory order) that makes
// QueryFeatureMask run the leaf named by the registers record.
inline constexpr uint64_t kQueryFeatureMagic = 0x616F666E69746567ull;

// The four registers of one CPUID execution.
struct CpuidRegisters {
  uint32_t eax;
  uint32_t ebx;
  uint32_t ecx;
  uint32_t edx;
};

// Chooses the class for a requested feature mask, stores the enabled-feature
// mask (request OR the class's required mask), writes the class (0 when none
// fits) and returns the check status (49, 50) or the class result (0, 36, 51).
int32_t ChooseProcessorClass(uint64_t request, int32_t* classOut);

// Writes the detected feature mask to *mask. With a registers record, also
// runs CPUID: the leaf and sub-leaf in the record's EAX and ECX words when
// *mask held kQueryFeatureMagic on entry, else leaf 1. Returns 0, -8 (null
// mask) or 36 (detection cannot run).
int32_t QueryFeatureMask(uint64_t* mask, CpuidRegisters* registers);

// Produces the detected feature mask (cached after the first run). Returns 1
// when *maskOut was written, 0 when detection cannot run.
int32_t DetectFeatureMask(uint64_t* maskOut);

// Stores the enabled-feature mask; StoreEnabledMask returns 0, WriteEnabledMask 1.
int32_t StoreEnabledMask(uint64_t mask);
int32_t WriteEnabledMask(uint64_t mask);
// The enabled-feature mask as last stored (7 before any initialisation).
uint64_t EnabledFeatureMask();
// The detection cache takes the enabled-feature mask and becomes valid.
void CopyEnabledToDetected();

// ---- Processor probes ----------------------------------------------------------
// 1: CPUID always exists on x86-64.
int32_t HasCpuid();
// 1 when CPUID leaf 1 reports OSXSAVE and AVX and XCR0 has the XMM and YMM bits.
int32_t IsAvxEnabledByOs();
// 1 when, in addition, XCR0 has the opmask, upper-ZMM and high-ZMM bits (5-7):
// the operating system saves the AVX-512 state.
int32_t IsAvx512EnabledByOs();
// 1 when the vendor string of leaf 0 is "GenuineIntel".
int32_t IsGenuineIntel();
// Runs CPUID with the leaf and sub-leaf.
void ReadCpuid(CpuidRegisters* registers, uint32_t leaf, uint32_t subleaf);
// EAX of leaf 0.
uint32_t MaxBasicCpuidLeaf();

// The per-element hook of the vector-math kernels: called once for every
// element that took a kernel's special-value road, after its result was
// stored. It does nothing; the kernels read the element's result back after it.
void MathErrorCallback(int32_t code, int32_t index, const void* argument1, const void* argument2, void* result1,
                       void* result2, int32_t* statusCell);

// The class in use, initialising the frame when needed.
int32_t CurrentProcessorClass();

namespace lv_dispatch {

template <typename Fn>
struct DispatchTable;

// slot[0] is the init stub (index -1), slot[1..8] the classes 0..7, slot[9] a
// terminating null.
template <typename R, typename... A>
struct DispatchTable<R (*)(A...)> {
  using Fn = R (*)(A...);
  Fn slot[10];

  // The entry point's body: one load of the index, one indirect jump through
  // the table addressed at class 0 (index -1 reaches the init stub). The index
  // is sign-extended by the load itself; an acquire load is a plain move on x86.
  [[gnu::always_inline]] R operator()(A... args) const {
    const intptr_t index = g_dispatchIndex.load(std::memory_order_acquire);
    return (slot + 1)[index](args...);
  }

  template <const DispatchTable& Table>
  static R InitStub(A... args) {
    InitProcessorDispatch();
    return Table(args...);
  }
};

}  // namespace lv_dispatch

// Defines the dispatch table `name` of function type FnType from the eight
// class implementations, in class order.
#define LV_DISPATCH_TABLE(name, FnType, ...)                                     \
  extern const ::lv_dispatch::DispatchTable<FnType> name;                         \
  constinit const ::lv_dispatch::DispatchTable<FnType> name = {                   \
      {&::lv_dispatch::DispatchTable<FnType>::template InitStub<name>, __VA_ARGS__, \
       nullptr}}

// The eight class implementations of `base`, in class order, as the
// initialiser list of a dispatch table: LV_CLASS_NAMES(VectorCopyFloat32) is
// &VectorCopyFloat32Sse2, ..., &VectorCopyFloat32Avx512.
#define LV_CLASS_NAMES(base)                                                                  \
  &base##Sse2, &base##Sse3, &base##Ssse3, &base##Sse42, &base##Avx, &base##Avx2,              \
      &base##Avx512ManyCore, &base##Avx512

// Defines the dispatch table `name` of the eight implementations of `base`.
#define LV_DISPATCH_TABLE_OF(name, FnType, base) LV_DISPATCH_TABLE(name, FnType, LV_CLASS_NAMES(base))

// Declares the eight class implementations of one entry point, for a family's
// per-class declarations header:
//   LV_DECLARE_CLASSES(int32_t, VectorCopyFloat32, (const float* src, float* dst, int32_t n));
#define LV_DECLARE_CLASSES(Ret, base, Params)                                                 \
  Ret base##Sse2 Params;                                                                      \
  Ret base##Sse3 Params;                                                                      \
  Ret base##Ssse3 Params;                                                                     \
  Ret base##Sse42 Params;                                                                     \
  Ret base##Avx Params;                                                                       \
  Ret base##Avx2 Params;                                                                      \
  Ret base##Avx512ManyCore Params;                                                            \
  Ret base##Avx512 Params
