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
// previous index afterwards. The class is published at once.
class ScopedProcessorClass {
 public:
  explicit ScopedProcessorClass(int cls);
  ~ScopedProcessorClass();
  ScopedProcessorClass(const ScopedProcessorClass&) = delete;
  ScopedProcessorClass& operator=(const ScopedProcessorClass&) = delete;

 private:
  int32_t previous_;
};

// Forces the class lazily for the lifetime of the object: the dispatch index
// goes back to -1, so the first call of any entry point (through its init
// stub) or of CurrentProcessorClass runs InitProcessorDispatch, which publishes
// the forced class instead of detecting. Restores the previous index and
// forcing afterwards. Published() tells whether this class was published so
// since the object was made, so a per-class test can check that it really went
// through the dispatch frame. cls must be 0..7.
class LazyProcessorClass {
 public:
  explicit LazyProcessorClass(int cls);
  ~LazyProcessorClass();
  LazyProcessorClass(const LazyProcessorClass&) = delete;
  LazyProcessorClass& operator=(const LazyProcessorClass&) = delete;

  bool Published() const;

 private:
  int32_t cls_;
  int32_t previousIndex_;
  int32_t previousForced_;
  uint64_t publicationsAtStart_;
};

// Stand-ins for the CPUID and XGETBV instructions, so that the classification
// and the cache-size query can be tested against profiles of other processors
// (vendor included: it is leaf 0). Null restores the real instruction.
using CpuidProbeFn = void (*)(uint32_t leaf, uint32_t subleaf, CpuidRegisters* out);
using XgetbvProbeFn = uint64_t (*)(uint32_t xcr);
void SetProcessorProbesForTest(CpuidProbeFn cpuid, XgetbvProbeFn xgetbv);

// Returns the frame to its state at process start: dispatch index -1, no
// class forced, enabled-feature mask 7, detection cache empty, cache-size
// cache not queried.
void ResetDispatchFrameForTest();

// The detection cache: true when valid, with its mask in *mask.
bool DetectionCacheForTest(uint64_t* mask);
