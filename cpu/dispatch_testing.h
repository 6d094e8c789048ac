// Test-only control of the dispatch frame. Product code never includes this.
#pragma once

#include <cstdint>

#include "cpu/dispatch.h"

// True when this processor (and its operating system) can run the code of the
// class: the instructions of the class's compiler flags, not the class choice
// rules (class 6 runs here with its emulated 28-bit reciprocal). Always asks
// the real processor, whatever probes a test installed.
bool IsProcessorClassRunnable(int cls);

// Forces the dispatch index for the lifetime of the object and restores the
// previous index afterwards.
class ScopedProcessorClass {
 public:
  explicit ScopedProcessorClass(int cls);
  ~ScopedProcessorClass();
  ScopedProcessorClass(const ScopedProcessorClass&) = delete;
  ScopedProcessorClass& operator=(const ScopedProcessorClass&) = delete;

 private:
  int32_t previous_;
};

// Stand-ins for the CPUID and XGETBV instructions, so that the classification
// and the cache-size query can be tested against profiles of other processors
// (vendor included: it is leaf 0). Null restores the real instruction.
using CpuidProbeFn = void (*)(uint32_t leaf, uint32_t subleaf, CpuidRegisters* out);
using XgetbvProbeFn = uint64_t (*)(uint32_t xcr);
void SetProcessorProbesForTest(CpuidProbeFn cpuid, XgetbvProbeFn xgetbv);

// Returns the frame to its state at process start: dispatch index -1,
// enabled-feature mask 7, detection cache empty, cache-size cache not queried.
void ResetDispatchFrameForTest();

// The detection cache: true when valid, with its mask in *mask.
bool DetectionCacheForTest(uint64_t* mask);
